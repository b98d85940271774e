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

class Reader {
public:
    explicit Reader(Profile& profile) : profile_(profile) {}

    std::string Text(const char* key, const char* def, std::size_t buffer) {
        return profile_.Read(kSettingsSection, key, def, buffer);
    }
    int32_t Number(const char* key, const char* def, std::size_t buffer = kNumberBuffer) {
        return ParseDecimal(Text(key, def, buffer));
    }
    // A non-zero value sets the flag; zero leaves it as it was.
    void Flag(bool& flag, const char* key, const char* def) {
        if (Number(key, def) != 0) flag = true;
    }

private:
    Profile& profile_;
};

class Writer {
public:
    explicit Writer(Profile& profile) : profile_(profile) {}

    void Text(const char* key, const std::string& value) {
        profile_.Write(kSettingsSection, key, value);
    }
    void Number(const char* key, int32_t value) {
        char text[16];
        std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
        Text(key, text);
    }
    void Flag(const char* key, bool value) { Text(key, value ? "1" : "0"); }
    void Color(const char* key, uint32_t colorRef) { Number(key, static_cast<int32_t>(colorRef)); }

private:
    Profile& profile_;
};

int32_t OrDefault(int32_t value, int32_t fallback) {
    return value == 0 ? fallback : value;
}

}  // namespace

void Settings::Reset() {
    *this = Settings();
}

int32_t ParseDecimal(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > static_cast<long long>(INT_MAX) + 1) break;  // clamped below
    }
    if (negative) value = -value;
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int32_t>(value);
}

uint32_t ColorRefToArgb(uint32_t c) {
    return 0xFF000000u + (c & 0xFFu) * 65536u + ((c >> 8) & 0xFFu) * 256u + ((c >> 16) & 0xFFu);
}

uint32_t ArgbToColorRef(uint32_t v) {
    return ((v >> 16) & 0xFFu) + ((v >> 8) & 0xFFu) * 256u + (v & 0xFFu) * 65536u;
}

void LoadSettings(Settings& s, std::vector<std::string>& exceptionPrograms, Profile& profile) {
    Reader r(profile);

    r.Flag(s.isbackimg, "isbackimg", "");
    r.Flag(s.isforeimg, "isforeimg", "1");
    r.Flag(s.isframe, "isframe", "");
    r.Flag(s.ismask, "ismask", "");
    r.Flag(s.isshadow, "isshadow", "");
    r.Flag(s.isrotate, "isrotate", "");

    s.picmaxsize = OrDefault(r.Number("picmaxsize", ""), 400);
    s.changetime = OrDefault(r.Number("changetime", ""), 15);
    const int32_t unit = r.Number("min_sec", "");
    s.min_sec = unit < 1000 ? 1000 : unit;
    s.framesize = OrDefault(r.Number("framesize", ""), 7);
    s.rotatevalue = OrDefault(r.Number("rotatevalue", ""), 90);
    s.piccleartotalcnt = OrDefault(r.Number("piccleartotalcnt", ""), 10);
    s.imagepos = r.Number("imagepos", "");
    s.rememory = r.Number("rememory", "");

    s.maskfilename = r.Text("maskfilename", "", kStringBuffer);
    s.backimagename = r.Text("backimagename", "", kStringBuffer);
    s.ymfontname = r.Text("ymfontname", "Georgia", kStringBuffer);
    s.ddfontname = r.Text("ddfontname", "Georgia", kStringBuffer);

    for (const char* key : {"outprogram0", "outprogram1", "outprogram2"}) {
        std::string title = r.Text(key, "", kStringBuffer);
        if (!title.empty()) exceptionPrograms.push_back(title);
    }

    r.Flag(s.maxwinstop, "maxwinstop", "1");
    r.Flag(s.ispath, "ispath", "1");
    r.Flag(s.iscalender, "iscalender", "1");
    r.Flag(s.notstrech, "notstrech", "1");
    r.Flag(s.israndum, "israndum", "1");
    r.Flag(s.isbackcolor, "isbackcolor", "1");
    r.Flag(s.isstretch, "isStretch", "1");
    r.Flag(s.isiptooltip, "isiptooltip", "1");
    r.Flag(s.isweekday, "isweekday", "1");
    r.Flag(s.isbold1, "isbold1", "1");
    r.Flag(s.isbold2, "isbold2", "1");
    r.Flag(s.isitalic1, "isitalic1", "1");
    r.Flag(s.isitalic2, "isitalic2", "1");

    r.Flag(s.isrndmask, "isrndmask", "");
    r.Flag(s.isbackgray, "isbackgray", "");
    r.Flag(s.isoverlap, "isoverlap", "");
    r.Flag(s.isiconhide, "isiconhide", "");

    s.backcolor =
        ColorRefToArgb(static_cast<uint32_t>(r.Number("backcolor", "7558472", kColorBuffer)));
    s.framecolor = static_cast<uint32_t>(r.Number("framecolor", "16777215", kColorBuffer));
    s.whitedaycolor = static_cast<uint32_t>(r.Number("whitedaycolor", "16777215", kColorBuffer));
    s.bluedaycolor = static_cast<uint32_t>(r.Number("bluedaycolor", "16439668", kColorBuffer));
    s.reddaycolor = static_cast<uint32_t>(r.Number("reddaycolor", "8262389", kColorBuffer));
    s.yymmcolor = static_cast<uint32_t>(r.Number("yymmcolor", "14416893", kColorBuffer));
}

void SaveSettings(const Settings& s, const std::vector<std::string>& exceptionPrograms,
                  Profile& profile) {
    Writer w(profile);
    w.Flag("isbackimg", s.isbackimg);
    w.Flag("isforeimg", s.isforeimg);
    w.Number("picmaxsize", s.picmaxsize);
    w.Number("changetime", s.changetime);
    w.Number("min_sec", s.min_sec);
    w.Number("framesize", s.framesize);
    w.Number("rotatevalue", s.rotatevalue);
    w.Number("piccleartotalcnt", s.piccleartotalcnt);
    w.Number("imagepos", s.imagepos);
    w.Number("rememory", s.rememory);
    w.Text("maskfilename", s.maskfilename);
    w.Text("backimagename", s.backimagename);
    w.Text("ymfontname", s.ymfontname);
    w.Text("ddfontname", s.ddfontname);
    const char* programKeys[kMaxExceptionPrograms] = {"outprogram0", "outprogram1", "outprogram2"};
    for (std::size_t i = 0; i < kMaxExceptionPrograms; ++i)
        w.Text(programKeys[i], i < exceptionPrograms.size() ? exceptionPrograms[i] : std::string());
    w.Flag("isframe", s.isframe);
    w.Flag("ismask", s.ismask);
    w.Flag("isshadow", s.isshadow);
    w.Flag("isrotate", s.isrotate);
    w.Flag("ispath", s.ispath);
    w.Flag("iscalender", s.iscalender);
    w.Flag("maxwinstop", s.maxwinstop);
    w.Flag("notstrech", s.notstrech);
    w.Flag("israndum", s.israndum);
    w.Flag("isbackcolor", s.isbackcolor);
    w.Flag("isstretch", s.isstretch);
    w.Flag("isiptooltip", s.isiptooltip);
    w.Flag("isweekday", s.isweekday);
    w.Flag("isbold1", s.isbold1);
    w.Flag("isbold2", s.isbold2);
    w.Flag("isitalic1", s.isitalic1);
    w.Flag("isitalic2", s.isitalic2);
    w.Flag("isrndmask", s.isrndmask);
    w.Flag("isbackgray", s.isbackgray);
    w.Flag("isoverlap", s.isoverlap);
    w.Flag("isiconhide", s.isiconhide);
    w.Color("backcolor", ArgbToColorRef(s.backcolor));
    w.Color("framecolor", s.framecolor);
    w.Color("whitedaycolor", s.whitedaycolor);
    w.Color("bluedaycolor", s.bluedaycolor);
    w.Color("reddaycolor", s.reddaycolor);
    w.Color("yymmcolor", s.yymmcolor);
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
