#include "engine/settings.h"

#include <climits>
#include <cstdio>

#include "engine/paths.h"

namespace corv {

namespace {

// Buffer sizes of the reads: a flag or number keeps 5 characters, a colour
// 8, a string 259 bytes.
constexpr std::size_t kNumberBuffer = 6;
constexpr std::size_t kColorBuffer = 9;
constexpr std::size_t kStringBuffer = 260;
// The per-monitor wallpapers: a device path and a wallpaper path a monitor.
constexpr std::size_t kMonitorWallpapersBuffer = 8192;

using Kind = SettingKey::Kind;
using Rule = SettingKey::Rule;

SettingKey Flag(const char* key, bool Settings::*member, bool set) {
    SettingKey k{key, key, Kind::Flag, set ? "1" : "0"};
    k.flag = member;
    return k;
}

SettingKey Number(const char* key, int32_t Settings::*member, const char* def, Rule rule) {
    SettingKey k{key, key, Kind::Number, def, rule};
    k.number = member;
    return k;
}

SettingKey Text(const char* key, std::string Settings::*member, const char* def) {
    SettingKey k{key, key, Kind::Text, def};
    k.text = member;
    return k;
}

SettingKey Color(const char* key, ColorRef Settings::*member, const char* def) {
    SettingKey k{key, key, Kind::Color, def};
    k.color = member;
    return k;
}

SettingKey Program(const char* key, std::size_t index) {
    SettingKey k{key, key, Kind::Program, ""};
    k.program = index;
    return k;
}

std::vector<SettingKey> MakeTable() {
    using S = Settings;
    SettingKey placement{"imagepos", "imagepos", Kind::Placement, "0"};
    placement.placement = &S::imagepos;
    SettingKey stretch = Flag("isstretch", &S::isstretch, true);
    stretch.readKey = "isStretch";
    SettingKey back{"backcolor", "backcolor", Kind::BackColor, "7558472"};
    back.argb = &S::backcolor;
    SettingKey monitorWallpapers = Text("oriwallpaths", &S::userMonitorWallpapers, "");
    monitorWallpapers.buffer = kMonitorWallpapersBuffer;
    return {
        Flag("isbackimg", &S::isbackimg, false),
        Flag("isforeimg", &S::isforeimg, true),
        Number("picmaxsize", &S::picmaxsize, "400", Rule::ZeroIsDefault),
        Number("changetime", &S::changetime, "15", Rule::ZeroIsDefault),
        Number("min_sec", &S::min_sec, "1000", Rule::AtLeastDefault),
        Number("framesize", &S::framesize, "7", Rule::ZeroIsDefault),
        Number("rotatevalue", &S::rotatevalue, "90", Rule::ZeroIsDefault),
        Number("piccleartotalcnt", &S::piccleartotalcnt, "10", Rule::ZeroIsDefault),
        placement,
        Number("rememory", &S::rememory, "0", Rule::AsRead),
        Text("maskfilename", &S::maskfilename, ""),
        Text("backimagename", &S::backimagename, ""),
        Text("ymfontname", &S::ymfontname, "Georgia"),
        Text("ddfontname", &S::ddfontname, "Georgia"),
        Program("outprogram0", 0),
        Program("outprogram1", 1),
        Program("outprogram2", 2),
        Flag("isframe", &S::isframe, false),
        Flag("ismask", &S::ismask, false),
        Flag("isshadow", &S::isshadow, false),
        Flag("isrotate", &S::isrotate, false),
        Flag("ispath", &S::ispath, true),
        Flag("iscalender", &S::iscalender, true),
        Flag("maxwinstop", &S::maxwinstop, true),
        Flag("notstrech", &S::notstrech, true),
        Flag("israndum", &S::israndum, true),
        Flag("isbackcolor", &S::isbackcolor, true),
        stretch,
        Flag("isiptooltip", &S::isiptooltip, true),
        Flag("isweekday", &S::isweekday, true),
        Flag("isbold1", &S::isbold1, true),
        Flag("isbold2", &S::isbold2, true),
        Flag("isitalic1", &S::isitalic1, true),
        Flag("isitalic2", &S::isitalic2, true),
        Flag("isrndmask", &S::isrndmask, false),
        Flag("isbackgray", &S::isbackgray, false),
        Flag("isoverlap", &S::isoverlap, false),
        Flag("isiconhide", &S::isiconhide, false),
        back,
        Color("framecolor", &S::framecolor, "16777215"),
        Color("whitedaycolor", &S::whitedaycolor, "16777215"),
        Color("bluedaycolor", &S::bluedaycolor, "16439668"),
        Color("reddaycolor", &S::reddaycolor, "8262389"),
        Color("yymmcolor", &S::yymmcolor, "14416893"),
        Number("multimonitor", &S::multimonitor, "0", Rule::AsRead),
        monitorWallpapers,
    };
}

std::string DecimalText(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    return text;
}

int32_t ReadNumber(Profile& profile, const SettingKey& k) {
    const int32_t value =
        ParseDecimal(profile.Read(kSettingsSection, k.readKey, "", kNumberBuffer));
    const int32_t fallback = ParseDecimal(k.defaultText);
    switch (k.rule) {
        case Rule::ZeroIsDefault:
            return value == 0 ? fallback : value;
        case Rule::AtLeastDefault:
            return value < fallback ? fallback : value;
        case Rule::AsRead:
            break;
    }
    return value;
}

void LoadKey(const SettingKey& k, Settings& s, std::vector<std::string>& programs,
             Profile& profile) {
    auto read = [&](std::size_t buffer) {
        return profile.Read(kSettingsSection, k.readKey, k.defaultText, buffer);
    };
    switch (k.kind) {
        case Kind::Flag:
            // A non-zero value sets the flag; zero leaves it as it was.
            if (ParseDecimal(read(kNumberBuffer)) != 0) s.*k.flag = true;
            break;
        case Kind::Number:
            s.*k.number = ReadNumber(profile, k);
            break;
        case Kind::Placement:
            s.*k.placement = static_cast<ImagePos>(ReadNumber(profile, k));
            break;
        case Kind::Text:
            s.*k.text = read(k.buffer != 0 ? k.buffer : kStringBuffer);
            break;
        case Kind::Color:
            s.*k.color = ColorRef{static_cast<uint32_t>(ParseDecimal(read(kColorBuffer)))};
            break;
        case Kind::BackColor:
            s.*k.argb =
                ColorRefToArgb(ColorRef{static_cast<uint32_t>(ParseDecimal(read(kColorBuffer)))});
            break;
        case Kind::Program: {
            std::string title = read(kStringBuffer);
            if (!title.empty()) programs.push_back(std::move(title));
            break;
        }
    }
}

std::string SavedText(const SettingKey& k, const Settings& s,
                      const std::vector<std::string>& programs) {
    switch (k.kind) {
        case Kind::Flag:
            return s.*k.flag ? "1" : "0";
        case Kind::Number:
            return DecimalText(s.*k.number);
        case Kind::Placement:
            return DecimalText(static_cast<int32_t>(s.*k.placement));
        case Kind::Text:
            return s.*k.text;
        case Kind::Color:
            return DecimalText(static_cast<int32_t>((s.*k.color).value));
        case Kind::BackColor:
            return DecimalText(static_cast<int32_t>(ArgbToColorRef(s.*k.argb).value));
        case Kind::Program:
            return k.program < programs.size() ? programs[k.program] : std::string();
    }
    return std::string();
}

}  // namespace

const std::vector<SettingKey>& SettingsTable() {
    static const std::vector<SettingKey> table = MakeTable();
    return table;
}

void Settings::Reset() {
    *this = Settings();
}

Argb ColorRefToArgb(ColorRef colorRef) {
    const uint32_t c = colorRef.value;
    return Argb{0xFF000000u + (c & 0xFFu) * 65536u + ((c >> 8) & 0xFFu) * 256u +
                ((c >> 16) & 0xFFu)};
}

ColorRef ArgbToColorRef(Argb argb) {
    const uint32_t v = argb.value;
    return ColorRef{((v >> 16) & 0xFFu) + ((v >> 8) & 0xFFu) * 256u + (v & 0xFFu) * 65536u};
}

void LoadSettings(Settings& s, std::vector<std::string>& exceptionPrograms, Profile& profile) {
    for (const SettingKey& k : SettingsTable()) LoadKey(k, s, exceptionPrograms, profile);
}

void SaveSettings(const Settings& s, const std::vector<std::string>& exceptionPrograms,
                  Profile& profile) {
    for (const SettingKey& k : SettingsTable())
        profile.Write(kSettingsSection, k.key, SavedText(k, s, exceptionPrograms));
}

std::string SettingsFilePath(const std::string& programDir) {
    return JoinPath(programDir, "env.ini");
}

void LoadSettingsFile(Settings& settings, std::vector<std::string>& exceptionPrograms) {
    ProfileFile file(SettingsFilePath(settings.programDir));
    file.Load();
    LoadSettings(settings, exceptionPrograms, file);
}

bool SaveSettingsFile(const Settings& settings, const std::vector<std::string>& exceptionPrograms) {
    ProfileFile file(SettingsFilePath(settings.programDir));
    file.Load();
    SaveSettings(settings, exceptionPrograms, file);
    return file.Save();
}

}  // namespace corv
