#include "compose/slots_file.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "unit/test_util.h"

using corv::SlotRect;
using corvtest::ReadFile;
using corvtest::TempDir;
using corvtest::WriteFile;

namespace {

using Slots = std::vector<SlotRect>;

Slots LoadText(const std::string& text, bool* opened = nullptr) {
    TempDir dir;
    const std::string path = dir.File("poslist.txt");
    WriteFile(path, text);
    Slots slots;
    const bool ok = corv::LoadSlots(path, slots);
    if (opened) *opened = ok;
    return slots;
}

}  // namespace

namespace corv {
// Readable failure messages.
static void PrintTo(const SlotRect& s, std::ostream* os) {
    *os << "{" << s.left << "," << s.top << "," << s.right << "," << s.bottom << "}";
}
}  // namespace corv

TEST(SlotsFile, TwoLinesGiveTwoSlotsInOrder) {
    bool opened = false;
    const Slots slots = LoadText("10,20,510,420\n600,100,900,700\n", &opened);
    EXPECT_TRUE(opened);
    EXPECT_EQ(slots, (Slots{{10, 20, 510, 420}, {600, 100, 900, 700}}));
}

TEST(SlotsFile, SaveThenLoadGivesTheSameListWithNegativeCoordinates) {
    TempDir dir;
    const std::string path = dir.File("poslist.txt");
    const Slots slots{{-1280, -24, -640, 456}, {0, 0, 1, 1}, {INT_MIN, INT_MAX, -1, 2}};
    ASSERT_TRUE(corv::SaveSlots(path, slots));
    // Text-mode line ends, as the program has always written them.
    EXPECT_EQ(ReadFile(path), "-1280,-24,-640,456\r\n0,0,1,1\r\n-2147483648,2147483647,-1,2\r\n");
    Slots loaded;
    ASSERT_TRUE(corv::LoadSlots(path, loaded));
    EXPECT_EQ(loaded, slots);
}

TEST(SlotsFile, NoSlotsSaveAnEmptyFileThatLoadsAsNoSlots) {
    TempDir dir;
    const std::string path = dir.File("poslist.txt");
    WriteFile(path, "1,2,3,4\n");
    ASSERT_TRUE(corv::SaveSlots(path, {}));
    EXPECT_EQ(ReadFile(path), "");
    Slots loaded;
    EXPECT_TRUE(corv::LoadSlots(path, loaded));
    EXPECT_TRUE(loaded.empty());
}

TEST(SlotsFile, EveryLineAddsASlotEvenAnEmptyOne) {
    EXPECT_EQ(LoadText("\n1,2,3,4\r\n\r\n5,6,7,8"),
              (Slots{{0, 0, 0, 0}, {1, 2, 3, 4}, {0, 0, 0, 0}, {5, 6, 7, 8}}));
}

TEST(SlotsFile, LoadingAppendsToWhatIsThere) {
    TempDir dir;
    const std::string path = dir.File("poslist.txt");
    WriteFile(path, "5,6,7,8\n");
    Slots slots{{1, 2, 3, 4}};
    ASSERT_TRUE(corv::LoadSlots(path, slots));
    EXPECT_EQ(slots, (Slots{{1, 2, 3, 4}, {5, 6, 7, 8}}));
}

TEST(SlotsFileBadInput, PiecesSplitAtRunsOfCommasAndReadAsNumbers) {
    EXPECT_EQ(LoadText(",,1,,2,,,3,4,\n"), (Slots{{1, 2, 3, 4}}));
    EXPECT_EQ(LoadText("5,6\n"), (Slots{{5, 6, 0, 0}}));
    EXPECT_EQ(LoadText("abc,12x, -5,\t+7,99,100\n"), (Slots{{0, 12, -5, 7}}));
    EXPECT_EQ(LoadText("1 2 3 4\n"), (Slots{{1, 0, 0, 0}}));
    EXPECT_EQ(LoadText("--3,4-,5e2,0x10\n"), (Slots{{0, 4, 5, 0}}));
    // Numbers past 32 bits stop at the largest value instead of wrapping.
    EXPECT_EQ(LoadText("99999999999,-99999999999,1,1\n"), (Slots{{INT_MAX, INT_MIN, 1, 1}}));
}

TEST(SlotsFileBadInput, LinesLongerThan99BytesGoOnAsTheNextSlot) {
    const std::string first = "1,2,3,4" + std::string(92, ' ');  // 99 bytes
    EXPECT_EQ(LoadText(first + "5,6,7,8\n9,9,9,9\n"),
              (Slots{{1, 2, 3, 4}, {5, 6, 7, 8}, {9, 9, 9, 9}}));
    // A line of 250 digits: three pieces of a line buffer, each read as one
    // (clamped) number.
    EXPECT_EQ(LoadText(std::string(250, '7') + "\n"),
              (Slots{{INT_MAX, 0, 0, 0}, {INT_MAX, 0, 0, 0}, {INT_MAX, 0, 0, 0}}));
}

TEST(SlotsFileBadInput, ZeroBytesAndBinaryNoiseGiveDefinedSlots) {
    EXPECT_EQ(LoadText(std::string("1,2\0,3,4\n", 9) + "\xff\xfe,\x01,8\n"),
              (Slots{{1, 2, 0, 0}, {0, 0, 8, 0}}));
}

TEST(SlotsFileBadInput, HugeFilesAreCutToTheSlotLimit) {
    std::string data;
    for (int i = 0; i < 100000; ++i)
        data += std::to_string(i) + "," + std::to_string(-i) + ",1,1\n";
    const Slots slots = LoadText(data);
    ASSERT_EQ(slots.size(), corv::kMaxSlots);
    EXPECT_EQ(slots.front(), (SlotRect{0, 0, 1, 1}));
    const int last = static_cast<int>(corv::kMaxSlots) - 1;
    EXPECT_EQ(slots.back(), (SlotRect{last, -last, 1, 1}));

    bool opened = true;
    EXPECT_TRUE(LoadText(std::string(17u * 1024 * 1024, '\n'), &opened).empty());
    EXPECT_FALSE(opened);
}

TEST(SlotsFileBadInput, MissingFileOrFolderLeavesTheListAlone) {
    TempDir dir;
    Slots slots{{1, 2, 3, 4}};
    EXPECT_FALSE(corv::LoadSlots(dir.File("absent.txt"), slots));
    EXPECT_FALSE(corv::LoadSlots(dir.Path(), slots));
    EXPECT_EQ(slots, (Slots{{1, 2, 3, 4}}));
}

TEST(SlotsFileBadInput, FailedSaveKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.File("poslist.txt");
    WriteFile(path, "10,20,30,40\r\n");
    corvtest::MakeReadOnly(path);
    EXPECT_FALSE(corv::SaveSlots(path, {{1, 1, 1, 1}}));
    EXPECT_EQ(ReadFile(path), "10,20,30,40\r\n");
    EXPECT_FALSE(corv::SaveSlots(dir.File("no-such-folder/poslist.txt"), {{1, 1, 1, 1}}));
}
