// The settings record and its mirror in env.ini, section DEFAULT.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "base/decimal.h"
#include "engine/profile.h"

namespace corv {

// A colour as env.ini and the system's colour calls hold it: 0x00BBGGRR,
// red in the low byte.
struct ColorRef {
    uint32_t value = 0;
};
// An opaque colour for the imaging layer: 0xFFRRGGBB.
struct Argb {
    uint32_t value = 0xFF000000;
};
inline bool operator==(ColorRef a, ColorRef b) {
    return a.value == b.value;
}
inline bool operator!=(ColorRef a, ColorRef b) {
    return a.value != b.value;
}
inline bool operator==(Argb a, Argb b) {
    return a.value == b.value;
}
inline bool operator!=(Argb a, Argb b) {
    return a.value != b.value;
}

// Where a picture goes; env.ini holds the number. A hand-edited file may
// hold another number, which is kept as it is: the picture then goes to the
// top-left corner, and collage mode counts it as centred below 0 and as
// off-centre above 2.
enum class ImagePos : int32_t {
    Centred = 0,  // "가운데 고정"
    Slots = 1,    // "위치지정": the placement slots
    Random = 2,   // "랜덤 위치로"
};
// Placements other than centred let pictures build a collage.
inline bool AllowsCollage(ImagePos placement) {
    return static_cast<int32_t>(placement) >= 1;
}
inline bool IsKnownPlacement(ImagePos placement) {
    const auto value = static_cast<int32_t>(placement);
    return value >= 0 && value <= 2;
}

struct Settings {
    Argb desktopColor;  // not stored
    Argb backcolor;
    ColorRef framecolor;
    ColorRef whitedaycolor;
    ColorRef bluedaycolor;
    ColorRef reddaycolor;
    ColorRef yymmcolor;

    std::string userWallpaper;  // key oriwallpath, read and written on its own
    // The user's TileWallpaper and WallpaperStyle as "TILE,STYLE" (empty when
    // unknown); key oriwallstyle, read and written on its own.
    std::string userWallpaperStyle;
    // The style values go back at the end: the program set the tile style,
    // or a run that did ended without putting them back. Not stored.
    bool restoreWallpaperStyle = false;
    // The user's wallpaper of every monitor, as the system's per-monitor
    // wallpaper interface had them at start (see JoinMonitorWallpapers);
    // key oriwallpaths.
    std::string userMonitorWallpapers;
    std::string programDir;  // not stored
    std::string maskfilename;
    std::string backimagename;
    std::string ymfontname;
    std::string ddfontname;

    bool paused = false;  // not stored
    bool isbackimg = false;
    bool isforeimg = false;
    bool isframe = false;
    bool isrotate = false;
    bool ismask = false;
    bool isshadow = false;
    bool ispath = false;
    bool iscalender = false;
    bool notstrech = false;
    bool maxwinstop = false;
    bool israndum = false;
    bool isbackcolor = false;
    bool isstretch = false;
    bool isiptooltip = false;
    bool isweekday = false;
    bool isbold1 = false;
    bool isbold2 = false;
    bool isitalic1 = false;
    bool isitalic2 = false;
    bool isrndmask = false;
    bool isbackgray = false;
    bool isoverlap = false;
    bool isiconhide = false;

    int32_t min_sec = 0;
    ImagePos imagepos = ImagePos::Centred;
    int32_t rememory = 0;
    int32_t changetime = 0;
    int32_t picmaxsize = 0;
    int32_t framesize = 0;
    int32_t rotatevalue = 0;
    int32_t piccleartotalcnt = 0;
    int32_t multimonitor = 0;  // see MonitorModeOf

    // Back to the construction values: empty strings, every flag clear,
    // every number 0, both ARGB colours opaque black.
    void Reset();
};

// One key of env.ini: how it is read and written, and which field (or
// exception program) holds it. The table lists every key in the order the
// file is written; loading, saving and the tests are loops over it.
struct SettingKey {
    enum class Kind {
        Flag,       // "1" or "0"; any non-zero number reads as set
        Number,     // decimal, by `rule`
        Placement,  // imagepos, a number taken as read
        Text,
        Color,      // decimal COLORREF
        BackColor,  // decimal COLORREF in the file, ARGB in the record
        Program,    // outprogram0..2: an exception program's window title
    };
    enum class Rule {
        AsRead,  // the number as read; a missing key is 0
        ZeroIsDefault,
        AtLeastDefault,
    };

    const char* key;
    // The spelling the file is read with, where it differs (keys are
    // compared without regard to case, so both name one entry).
    const char* readKey;
    Kind kind;
    // The value a missing key gives, as the file holds it.
    const char* defaultText;
    Rule rule = Rule::AsRead;
    bool Settings::*flag = nullptr;
    int32_t Settings::*number = nullptr;
    ImagePos Settings::*placement = nullptr;
    std::string Settings::*text = nullptr;
    ColorRef Settings::*color = nullptr;
    Argb Settings::*argb = nullptr;
    std::size_t program = 0;  // index into exceptionPrograms
    std::size_t buffer = 0;   // a text's read buffer where it differs (0: 260 bytes)
};

// Every stored key, in the file's order.
const std::vector<SettingKey>& SettingsTable();

constexpr const char* kSettingsSection = "DEFAULT";
constexpr std::size_t kMaxExceptionPrograms = 3;

// Fills `settings` and `exceptionPrograms` from the profile, starting from
// the values Reset leaves. Never fails: what is missing takes its default.
void LoadSettings(Settings& settings, std::vector<std::string>& exceptionPrograms,
                  Profile& profile);

// Writes every stored key, in the file's fixed order.
void SaveSettings(const Settings& settings, const std::vector<std::string>& exceptionPrograms,
                  Profile& profile);

// env.ini beside the program.
std::string SettingsFilePath(const std::string& programDir);

// Loads env.ini from settings.programDir.
void LoadSettingsFile(Settings& settings, std::vector<std::string>& exceptionPrograms);
// Saves env.ini in one step; false when the file could not be written.
bool SaveSettingsFile(const Settings& settings, const std::vector<std::string>& exceptionPrograms);

// Colour conversions between the file's 0x00BBGGRR and opaque 0xFFRRGGBB;
// the alpha byte is dropped on the way back.
Argb ColorRefToArgb(ColorRef colorRef);
ColorRef ArgbToColorRef(Argb argb);

}  // namespace corv
