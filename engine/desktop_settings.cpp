#include "engine/desktop_settings.h"

#include "engine/paths.h"
#include "engine/profile.h"

namespace corv {

namespace {

constexpr const char* kOwnWallpaperName = "Corvalendrine.bmp";
constexpr const char* kOwnWallpaperStem = "Corvalendrine-";
constexpr char kFieldSeparator = '|';

char FoldPathByte(char c) {
    if (c >= 'a' && c <= 'z') return static_cast<char>(c - 'a' + 'A');
    if (c == '/') return '\\';
    return c;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// One whole decimal number: an optional sign, then digits only.
bool IsNumberToken(const std::string& token) {
    std::size_t i = (token[0] == '+' || token[0] == '-') ? 1 : 0;
    if (i == token.size()) return false;
    for (; i < token.size(); ++i)
        if (token[i] < '0' || token[i] > '9') return false;
    return true;
}

// A path never holds a line break; a value that does is cut there, so it
// can never add lines to env.ini.
std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find_first_of("\r\n"));
}

// The text without the separator and line breaks.
std::string FieldText(const std::string& text) {
    std::string out;
    for (char c : text)
        if (c != kFieldSeparator && c != '\r' && c != '\n') out += c;
    return out;
}

std::vector<std::string> Fields(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t at = 0;
    for (;;) {
        const std::size_t end = text.find(kFieldSeparator, at);
        fields.push_back(text.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos) return fields;
        at = end + 1;
    }
}

const MonitorWallpaper* FindMonitor(const MonitorWallpapers& list, const std::string& monitor) {
    for (const MonitorWallpaper& m : list.monitors)
        if (SamePathText(m.monitor, monitor)) return &m;
    return nullptr;
}

}  // namespace

std::string OwnMonitorWallpaperPath(const std::string& programDir, std::size_t index) {
    if (index == 0) return OwnWallpaperPath(programDir);
    return JoinPath(programDir, kOwnWallpaperStem + std::to_string(index + 1) + ".bmp");
}

bool IsOwnWallpaperFile(const std::string& path, const std::string& programDir) {
    if (programDir.empty()) return false;
    if (SamePathText(path, OwnWallpaperPath(programDir))) return true;
    // programDir\Corvalendrine-N.bmp, N a number from 2 on.
    const std::string stem = JoinPath(programDir, kOwnWallpaperStem);
    const std::string tail = ".bmp";
    if (path.size() <= stem.size() + tail.size() ||
        !SamePathText(path.substr(0, stem.size()), stem) ||
        !SamePathText(path.substr(path.size() - tail.size()), tail))
        return false;
    const std::string number = path.substr(stem.size(), path.size() - stem.size() - tail.size());
    for (char c : number)
        if (c < '0' || c > '9') return false;
    return number.size() < 6 && ParseDecimal(number) >= 2;
}

std::string JoinMonitorWallpapers(const MonitorWallpapers& wallpapers) {
    if (wallpapers.monitors.empty()) return std::string();
    std::string text = std::to_string(wallpapers.position);
    for (const MonitorWallpaper& m : wallpapers.monitors) {
        text += kFieldSeparator + FieldText(m.monitor);
        text += kFieldSeparator + FieldText(m.path);
    }
    return text;
}

MonitorWallpapers SplitMonitorWallpapers(const std::string& text) {
    MonitorWallpapers out;
    const std::string line = FirstLine(text);
    if (line.empty()) return out;
    const std::vector<std::string> fields = Fields(line);
    if (!fields[0].empty() && IsNumberToken(fields[0])) out.position = ParseDecimal(fields[0]);
    for (std::size_t i = 1; i + 1 < fields.size(); i += 2)
        if (!fields[i].empty()) out.monitors.push_back(MonitorWallpaper{fields[i], fields[i + 1]});
    return out;
}

bool ShowsOwnWallpaper(const MonitorWallpapers& current, const std::string& programDir) {
    for (const MonitorWallpaper& m : current.monitors)
        if (IsOwnWallpaperFile(m.path, programDir)) return true;
    return false;
}

MonitorWallpapers UsersMonitorWallpapers(const MonitorWallpapers& current,
                                         const std::string& remembered, const Settings& settings) {
    const std::string& dir = settings.programDir;
    if (!ShowsOwnWallpaper(current, dir)) return current;
    const MonitorWallpapers kept = SplitMonitorWallpapers(remembered);
    MonitorWallpapers users = current;
    if (kept.position >= 0) users.position = kept.position;
    for (MonitorWallpaper& m : users.monitors) {
        if (!IsOwnWallpaperFile(m.path, dir)) continue;
        const MonitorWallpaper* before = FindMonitor(kept, m.monitor);
        if (before != nullptr && !IsOwnWallpaperFile(before->path, dir))
            m.path = before->path;
        else
            m.path = IsOwnWallpaperFile(settings.userWallpaper, dir) ? std::string()
                                                                     : settings.userWallpaper;
    }
    return users;
}

bool SaveUserMonitorWallpapers(const Settings& settings) {
    return WriteIniString(SettingsFilePath(settings.programDir), kSettingsSection,
                          kRememberedMonitorsKey, settings.userMonitorWallpapers);
}

std::string OwnWallpaperPath(const std::string& programDir) {
    return JoinPath(programDir, kOwnWallpaperName);
}

bool SamePathText(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    // No byte of a UTF-8 character beyond ASCII is a letter or a slash.
    for (std::size_t i = 0; i < a.size(); ++i)
        if (FoldPathByte(a[i]) != FoldPathByte(b[i])) return false;
    return true;
}

bool SplitWallpaperStyle(const std::string& text, std::string& tile, std::string& style) {
    const std::size_t comma = text.find(',');
    if (comma == std::string::npos) return false;
    const std::string first = text.substr(0, comma);
    const std::string second = text.substr(comma + 1);
    if (first.empty() || second.empty() || !IsNumberToken(first) || !IsNumberToken(second))
        return false;
    tile = first;
    style = second;
    return true;
}

bool ParseDesktopColor(const std::string& text, Argb& argb) {
    uint32_t parts[3] = {0, 0, 0};
    int found = 0;
    std::size_t pos = 0;
    while (found < 3) {
        while (pos < text.size() && IsBlank(text[pos])) ++pos;
        if (pos >= text.size()) break;
        std::size_t end = pos;
        while (end < text.size() && !IsBlank(text[end])) ++end;
        const std::string token = text.substr(pos, end - pos);
        if (!IsNumberToken(token)) return false;
        parts[found++] = static_cast<uint32_t>(ParseDecimal(token)) & 0xFFu;
        pos = end;
    }
    if (found < 3) return false;
    argb = Argb{0xFF000000u | (parts[0] << 16) | (parts[1] << 8) | parts[2]};
    return true;
}

void ApplyDesktopValues(Settings& settings, const DesktopValues& values) {
    settings.userWallpaper = values.hasWallpaper ? FirstLine(values.wallpaper) : std::string();
    std::string tile, style;
    settings.userWallpaperStyle.clear();
    if (values.hasStyle &&
        SplitWallpaperStyle(values.tileWallpaper + "," + values.wallpaperStyle, tile, style))
        settings.userWallpaperStyle = tile + "," + style;
    if (!settings.programDir.empty()) {
        const std::string own = OwnWallpaperPath(settings.programDir);
        if (SamePathText(settings.userWallpaper, own)) {
            // The last run ended without putting the user's wallpaper back.
            std::string remembered =
                ReadIniString(SettingsFilePath(settings.programDir), kSettingsSection,
                              kRememberedWallpaperKey, "", kWallpaperPathBuffer);
            remembered = FirstLine(remembered);
            // Never take the program's own file for the user's.
            if (SamePathText(remembered, own)) remembered.clear();
            settings.userWallpaper = remembered;
            // The style values the tile style replaced; "*" is no value the
            // file holds, so it tells a missing key. An empty or unreadable
            // value stands for values the registry did not have.
            const std::string rememberedStyle =
                ReadIniString(SettingsFilePath(settings.programDir), kSettingsSection,
                              kRememberedStyleKey, "*", kWallpaperPathBuffer);
            if (rememberedStyle != "*") {
                settings.userWallpaperStyle.clear();
                if (SplitWallpaperStyle(FirstLine(rememberedStyle), tile, style))
                    settings.userWallpaperStyle = tile + "," + style;
                settings.restoreWallpaperStyle = true;
            }
        }
    }
    Argb color;
    if (values.hasBackground && ParseDesktopColor(values.background, color))
        settings.desktopColor = color;
}

bool SaveUserWallpaperPath(const Settings& settings) {
    return WriteIniString(SettingsFilePath(settings.programDir), kSettingsSection,
                          kRememberedWallpaperKey, settings.userWallpaper);
}

bool SaveUserWallpaperStyle(const Settings& settings) {
    return WriteIniString(SettingsFilePath(settings.programDir), kSettingsSection,
                          kRememberedStyleKey, settings.userWallpaperStyle);
}

}  // namespace corv
