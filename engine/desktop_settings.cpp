#include "engine/desktop_settings.h"

#include "engine/paths.h"
#include "engine/profile.h"

namespace corv {

namespace {

constexpr const char* kOwnWallpaperName = "Corvalendrine.bmp";

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

}  // namespace

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
