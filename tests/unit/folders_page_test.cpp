#include "settings_ui/page4_folders.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/catalogue.h"
#include "engine/paths.h"
#include "support/fakes.h"
#include "support/folder_lines.h"

using corv::AddVerdict;
using corv::AppState;
using corvtest::MemoryFileSystem;

TEST(FoldersPage, AddRules) {
    const struct {
        const char* name;
        std::vector<std::string> listed;
        std::string chosen;
        AddVerdict verdict;
        std::vector<std::string> left;  // folderList afterwards
        bool folded;
    } cases[] = {
        {"root", {"c:\\pics,3"}, "C:\\", AddVerdict::Root, {"c:\\pics,3"}, false},
        {"new drive folder", {}, "D:\\a", AddVerdict::Added, {}, false},
        {"same, other case", {"c:\\pics,3"}, "C:\\Pics", AddVerdict::Same, {"c:\\pics,3"}, false},
        {"inside", {"c:\\pics,3"}, "c:\\pics\\2006", AddVerdict::Included, {"c:\\pics,3"}, false},
        // Whole path components: a longer name beside it is another folder.
        {"name continues", {"c:\\pics,3"}, "c:\\pics2", AddVerdict::Added, {"c:\\pics,3"}, false},
        {"shorter name", {"c:\\pics,3"}, "c:\\pic", AddVerdict::Added, {"c:\\pics,3"}, false},
        {"inside a drive root listed by hand",
         {"d:\\,5"},
         "d:\\x",
         AddVerdict::Included,
         {"d:\\,5"},
         false},
        {"takes two in",
         {"c:\\pics\\a,1", "c:\\other,2", "c:\\pics\\b,4"},
         "c:\\pics",
         AddVerdict::Added,
         {"c:\\other,2"},
         true},
        {"refused after taking one in",
         {"c:\\p\\a\\x,1", "c:\\p,2"},
         "c:\\p\\a",
         AddVerdict::Included,
         {"c:\\p,2"},
         true},
        {"comma in a listed path",
         {"d:\\photos, 2019,7"},
         "D:\\Photos, 2019",
         AddVerdict::Same,
         {"d:\\photos, 2019,7"},
         false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state;
        for (const std::string& line : c.listed)
            state.folderList.push_back(corv::SplitFolderEntry(line));
        const corv::AddResult result = corv::PrepareAddFolder(state, c.chosen);
        EXPECT_EQ(result.verdict, c.verdict);
        EXPECT_EQ(corvtest::Lines(state.folderList), c.left);
        EXPECT_EQ(result.folded, c.folded);
    }
}

TEST(FoldersPage, TakingFoldersInDropsOnlyTheirPictures) {
    AppState state;
    state.folderList = corvtest::Folders({"c:\\pics\\a,1", "c:\\pics2,1"});
    state.pictureList = {"C:\\Pics\\A\\1.jpg", "c:\\pics2\\2.jpg", "c:\\picsx.jpg"};
    const corv::AddResult result = corv::PrepareAddFolder(state, "C:\\PICS");
    EXPECT_EQ(result.verdict, AddVerdict::Added);
    EXPECT_EQ(result.folder, "c:\\pics");
    EXPECT_EQ(state.pictureList, (std::vector<std::string>{"c:\\pics2\\2.jpg", "c:\\picsx.jpg"}));
}

TEST(FoldersPage, LowerCaseLeavesCharactersBeyondAsciiAlone) {
    // UTF-8 names: 그림, "Café-ÉTÉ", 写真 and an emoji; only ASCII letters
    // change.
    EXPECT_EQ(corv::LowerPath("D:\\\xEA\xB7\xB8\xEB\xA6\xBC\\ABC"),
              "d:\\\xEA\xB7\xB8\xEB\xA6\xBC\\abc");
    EXPECT_EQ(corv::LowerPath("C:\\Caf\xC3\xA9-\xC3\x89T\xC3\x89"),
              "c:\\caf\xC3\xA9-\xC3\x89t\xC3\x89");
    EXPECT_EQ(corv::LowerPath("E:\\\xE5\x86\x99\xE7\x9C\x9F"
                              "DIR\\\xF0\x9F\x8C\x85X"),
              "e:\\\xE5\x86\x99\xE7\x9C\x9F"
              "dir\\\xF0\x9F\x8C\x85x");
}

TEST(FoldersPage, TotalSumsTheCounts) {
    EXPECT_EQ(corv::TotalText(corv::TotalPictures({})), "0 pics");
    EXPECT_EQ(corv::TotalText(corv::TotalPictures(corvtest::Folders({"a,3", "b, c,4", "d"}))),
              "7 pics");
}

TEST(FoldersPage, RescanDropsFoldersWithoutPicturesAndCountsAgain) {
    MemoryFileSystem fs;
    fs.AddFile("full", "1.jpg");
    fs.AddFile("full", "2.png");
    fs.AddFile("empty", "notes.txt");
    fs.AddFile("with, comma", "3.gif");
    AppState state;
    state.folderList = corvtest::Folders({"empty,4", "full,1", "gone,9", "with, comma,0"});
    state.pictureList = {"stale.jpg"};
    std::vector<int32_t> begun;
    int steps = 0;
    corv::ScanProgress progress{[&](int32_t entries) { begun.push_back(entries); },
                                [&] { ++steps; }};
    corv::RescanFolders(state, fs, progress);
    // "gone" is not there: it keeps its place and count.
    EXPECT_EQ(corvtest::Lines(state.folderList),
              (std::vector<std::string>{"full,2", "gone,9", "with, comma,1"}));
    EXPECT_EQ(
        state.pictureList,
        (std::vector<std::string>{corv::JoinPath("full", "1.jpg"), corv::JoinPath("full", "2.png"),
                                  corv::JoinPath("with, comma", "3.gif")}));
    // Every scanned folder sizes the bar by its entries, "." and ".."
    // included; the missing one is not scanned.
    EXPECT_EQ(begun, (std::vector<int32_t>{3, 4, 3}));
    EXPECT_EQ(steps, 3 + 4 + 3);
}

// A folder whose drive is unplugged survives every rescan with its count,
// and its pictures come back with the first rescan that finds it again. An
// empty folder that is there is dropped.
TEST(FoldersPage, UnreachableFolderSurvivesRescans) {
    MemoryFileSystem fs;
    fs.AddFile("E:\\photos", "1.jpg");
    fs.AddFile("E:\\photos", "2.jpg");
    fs.AddFile("C:\\empty", "notes.txt");
    AppState state;
    state.folderList = corvtest::Folders({"E:\\photos,2", "C:\\empty,3"});
    fs.RemoveFolder("E:\\photos");
    for (int round = 0; round < 2; ++round) {
        corv::RescanFolders(state, fs, corv::ScanProgress{});
        EXPECT_EQ(corvtest::Lines(state.folderList), std::vector<std::string>{"E:\\photos,2"});
        EXPECT_TRUE(state.pictureList.empty());
        EXPECT_FALSE(corv::MakeFolderRow(fs, state.folderList[0]).connected);
    }
    fs.AddFile("E:\\photos", "1.jpg");
    corv::RescanFolders(state, fs, corv::ScanProgress{});
    EXPECT_EQ(corvtest::Lines(state.folderList), std::vector<std::string>{"E:\\photos,1"});
    EXPECT_EQ(state.pictureList, std::vector<std::string>{corv::JoinPath("E:\\photos", "1.jpg")});
    const corv::FolderRow row = corv::MakeFolderRow(fs, state.folderList[0]);
    EXPECT_TRUE(row.connected);
    EXPECT_EQ(row.path, "E:\\photos");
    EXPECT_EQ(row.count, "1");
}

// The row chosen for deletion is the one last clicked, and every refill
// forgets it: after an add took listed folders in, the old row number would
// name another folder.
TEST(FoldersPage, RefillForgetsTheClickedRow) {
    MemoryFileSystem fs;
    for (const char* folder : {"c:\\a", "c:\\b\\x", "c:\\b\\y", "c:\\d"})
        fs.AddFile(folder, "1.jpg");
    AppState state;
    state.folderList = corvtest::Folders({"c:\\a,1", "c:\\b\\x,1", "c:\\b\\y,1", "c:\\d,1"});
    corv::FolderRows rows;
    rows.Refill(state, fs);
    EXPECT_FALSE(rows.HasChoice());
    EXPECT_TRUE(rows.Click(3));   // c:\d
    EXPECT_FALSE(rows.Click(4));  // below the last row
    EXPECT_TRUE(rows.Click(3));
    // Adding c:\b takes x and y in: c:\d is now row 1, and row 3 is c:\b.
    ASSERT_EQ(corv::PrepareAddFolder(state, "c:\\b").verdict, AddVerdict::Added);
    state.folderList.push_back(corv::SplitFolderEntry("c:\\b,2"));
    EXPECT_EQ(rows.Refill(state, fs).size(), 3u);
    EXPECT_FALSE(rows.HasChoice());
    EXPECT_FALSE(rows.DeleteChosen(state));
    EXPECT_EQ(state.folderList.size(), 3u);
    // A click after the refill deletes the folder clicked, once.
    EXPECT_TRUE(rows.Click(1));
    EXPECT_TRUE(rows.DeleteChosen(state));
    EXPECT_EQ(corvtest::Lines(state.folderList), (std::vector<std::string>{"c:\\a,1", "c:\\b,2"}));
    EXPECT_FALSE(rows.DeleteChosen(state));
}
