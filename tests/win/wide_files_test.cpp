// The file calls on the real system with names the code page cannot hold,
// paths past MAX_PATH, and a name no UTF-8 text can spell.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/text_win.h"
#include "engine/file_io.h"
#include "engine/platform_win.h"
#include "unit/test_util.h"

namespace {

std::vector<std::string> Listing(const std::string& folder) {
    corv::Win32FileSystem fs;
    std::vector<std::string> names;
    const bool read = fs.ForEachEntry(folder, [&](const corv::DirEntry& entry) {
        if (entry.name != "." && entry.name != "..") names.push_back(entry.name);
    });
    EXPECT_TRUE(read) << folder;
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

TEST(WideFiles, NamesOfEveryScriptAreListedWrittenReadAndRemoved) {
    corvtest::TempDir dir;
    std::vector<std::string> names = {corv::Utf8(L"Caf\u00E9-\u00E9t\u00E9.jpg"),
                                      corv::Utf8(L"\u0E17\u0E30\u0E40\u0E25.png"),
                                      corv::Utf8(L"H\u1ED3 T\u00E2y.gif"),
                                      corv::Utf8(L"\U0001F305 \uB178\uC744.bmp"),
                                      corv::Utf8(L"\u5199\u771F.tif"),
                                      corv::Utf8(L"\uC0AC\uC9C4.jpg")};
    for (const std::string& name : names) {
        const std::string path = dir.Path() + "\\" + name;
        ASSERT_TRUE(corv::WriteFileAtomically(path, name)) << name;
        EXPECT_TRUE(corv::FileExists(path)) << name;
        std::string back;
        ASSERT_EQ(corv::ReadWholeFile(path, back, 1024), corv::ReadResult::Ok) << name;
        EXPECT_EQ(back, name);
        // The system holds the name itself, not a code page look-alike.
        EXPECT_NE(GetFileAttributesW(corv::Wide(path).c_str()), INVALID_FILE_ATTRIBUTES) << name;
    }
    std::sort(names.begin(), names.end());
    EXPECT_EQ(Listing(dir.Path()), names);
    for (const std::string& name : names) EXPECT_TRUE(corv::RemoveFile(dir.Path() + "\\" + name));
    EXPECT_TRUE(Listing(dir.Path()).empty());
}

TEST(WideFiles, PathsPastMaxPathWorkWithEveryCall) {
    corvtest::TempDir dir;
    std::string deep = dir.Path();
    while (deep.size() < 320) {
        deep += "\\" + std::string(50, 'd') + corv::Utf8(L"\u0E17\u0E30");
        ASSERT_TRUE(CreateDirectoryW(corv::WidePath(deep).c_str(), nullptr)) << GetLastError();
    }
    const std::string path = deep + "\\" + corv::Utf8(L"\U0001F305.png");
    ASSERT_GT(corv::Wide(path).size(), static_cast<std::size_t>(MAX_PATH));
    EXPECT_EQ(corv::WidePath(path).compare(0, 4, L"\\\\?\\"), 0);
    ASSERT_TRUE(corv::WriteFileAtomically(path, "far"));
    EXPECT_TRUE(corv::FileExists(path));
    std::string back;
    ASSERT_EQ(corv::ReadWholeFile(path, back, 16), corv::ReadResult::Ok);
    EXPECT_EQ(back, "far");
    EXPECT_EQ(Listing(deep), std::vector<std::string>{corv::Utf8(L"\U0001F305.png")});
    corv::Win32FileSystem fs;
    EXPECT_TRUE(fs.Exists(path));
    EXPECT_TRUE(corv::RemoveFile(path));
    EXPECT_FALSE(corv::FileExists(path));
    while (deep.size() > dir.Path().size()) {
        RemoveDirectoryW(corv::WidePath(deep).c_str());
        deep.resize(deep.find_last_of('\\'));
    }
}

// Wine's file system refuses to make such a name (it cannot be a Unix file
// name), so the test takes the conversion the listing relies on: a name
// with a lone surrogate has no UTF-8 form and the listing passes it over.
TEST(WideFiles, ANameWithALoneSurrogateHasNoUtf8Form) {
    const std::wstring lone = std::wstring(L"lone") + wchar_t(0xD800) + L".png";
    std::string name = "untouched";
    EXPECT_FALSE(corv::Utf8Exact(lone.c_str(), name));
    EXPECT_EQ(name, "");
    const std::wstring trail = std::wstring(1, wchar_t(0xDFFF)) + L"x.png";
    EXPECT_FALSE(corv::Utf8Exact(trail.c_str(), name));
    EXPECT_EQ(corv::Utf8(lone), "lone\xEF\xBF\xBD.png");  // shown, never opened
    EXPECT_TRUE(corv::Utf8Exact(L"\U0001F305.png", name));
    EXPECT_EQ(name, "\xF0\x9F\x8C\x85.png");
    EXPECT_EQ(corv::Wide(name), L"\U0001F305.png");
}

TEST(WideFiles, TheCodePageTakesOnlyWhatItHoldsExactly) {
    ASSERT_EQ(GetACP(), 949u) << "the tests run under the Korean code page";
    struct Case {
        std::wstring text;
        bool fits;
        std::string bytes;
    };
    const Case cases[] = {
        {L"\uC0AC\uC9C4", true, "\xBB\xE7\xC1\xF8"},                              // 사진
        {L"\u0424\u043E\u0442\u043E", true, "\xAC\xB6\xAC\xE0\xAC\xE4\xAC\xE0"},  // Фото
        {L"plain.jpg", true, "plain.jpg"},
        {L"", true, ""},
        // No look-alike: "é" must not become "e", nor an emoji "?".
        {L"Caf\u00E9-\u00E9t\u00E9", false, ""},
        {L"\u0E17\u0E30\u0E40\u0E25", false, ""},
        {L"H\u1ED3 T\u00E2y", false, ""},
        {L"\U0001F305 \uB178\uC744", false, ""},
    };
    for (const Case& c : cases) {
        const std::string utf8 = corv::Utf8(c.text);
        std::string ansi = "untouched";
        EXPECT_EQ(corv::Utf8ToAnsi(utf8, ansi), c.fits) << utf8;
        if (!c.fits) continue;
        EXPECT_EQ(ansi, c.bytes) << utf8;
        EXPECT_EQ(corv::AnsiToUtf8(ansi), utf8);
    }
}
