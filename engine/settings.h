// The settings record and its mirror in env.ini, section DEFAULT.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/profile.h"

namespace corv {

// Colours named "ARGB" are opaque 0xFFRRGGBB values for the imaging layer;
// the others are 0x00BBGGRR as the file holds them.
struct Settings {
    uint32_t desktopColor = 0xFF000000;  // ARGB, not stored
    uint32_t backcolor = 0xFF000000;     // ARGB
    uint32_t framecolor = 0;
    uint32_t whitedaycolor = 0;
    uint32_t bluedaycolor = 0;
    uint32_t reddaycolor = 0;
    uint32_t yymmcolor = 0;

    std::string userWallpaper;  // key oriwallpath, read and written on its own
    std::string programDir;     // not stored
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
    int32_t imagepos = 0;
    int32_t rememory = 0;
    int32_t changetime = 0;
    int32_t picmaxsize = 0;
    int32_t framesize = 0;
    int32_t rotatevalue = 0;
    int32_t piccleartotalcnt = 0;

    // Back to the construction values: empty strings, every flag clear,
    // every number 0, both ARGB colours opaque black.
    void Reset();
};

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

// The number conversion of the file's values: leading blanks, an optional
// sign, then decimal digits up to the first other character; no digits is 0.
int32_t ParseDecimal(const std::string& text);

// Colour conversions between the file's 0x00BBGGRR and opaque 0xFFRRGGBB.
uint32_t ColorRefToArgb(uint32_t colorRef);
uint32_t ArgbToColorRef(uint32_t argb);

}  // namespace corv
