#include "engine/catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "engine/paths.h"
#include "support/fakes.h"
#include "support/folder_lines.h"
#include "unit/test_util.h"

using corv::AppState;
using corv::JoinPath;
using corvtest::FixedClock;
using corvtest::MemoryFileSystem;
using corvtest::ScriptedRandom;

namespace {

struct Picker {
    MemoryFileSystem fs;
    ScriptedRandom random{{0}};
    FixedClock clock;
    corv::PickSources sources{fs, random, clock, nullptr};
    AppState state;

    // Folder "P" with pictures a.jpg, b.png, c.gif, all present.
    Picker() {
        for (const char* name : {"a.jpg", "b.png", "c.gif"}) {
            fs.AddFile("P", name);
            state.pictureList.push_back(JoinPath("P", name));
        }
        state.folderList.push_back(corv::SplitFolderEntry("P,3"));
    }
    std::string Pick() { return corv::PickNextPicture(state, sources); }
};

}  // namespace

TEST(CatalogueFiles, PictureNamesByTheirLastThreeLetters) {
    EXPECT_TRUE(corv::IsPictureFile("photo.JPG"));
    EXPECT_TRUE(corv::IsPictureFile("xjpg"));
    EXPECT_TRUE(corv::IsPictureFile("scan.Tif"));
    EXPECT_TRUE(corv::IsPictureFile("notes.old.png"));
    EXPECT_FALSE(corv::IsPictureFile("jp"));
    EXPECT_FALSE(corv::IsPictureFile("readme.txt"));
}

TEST(CatalogueFiles, PictureNamesByTheirExtensionInAnyCase) {
    for (const char* name : {"photo.jpeg", "photo.JPE", "photo.Jfif", "photo.tiff", "scan.TIFF",
                             "old.dib", "phone.HEIC", "phone.heif", "site.webp", "site.AVIF",
                             "a.b.WebP", "x.png", "x.bmp", "x.gif", "x.tif", "x.jpg"})
        EXPECT_TRUE(corv::IsPictureFile(name)) << name;
    // An extension is what follows the last dot; the whole tail must match.
    for (const char* name : {"photo.jpeg.txt", "webp", "photo.web", "photo.heics", "photo.",
                             "photo.avi", "heic.mov", "photo.jpegx", ""})
        EXPECT_FALSE(corv::IsPictureFile(name)) << name;
}

TEST(CatalogueFiles, LoadSplitsFoldersAndPictures) {
    corvtest::TempDir dir;
    const std::string path = dir.File("list.txt");
    corvtest::WriteFile(
        path, "C:\\pics,3\r\n&\r\nC:\\pics\\1.jpg\r\nC:\\pics\\2.jpg\nC:\\pics\\3.jpg\r\n");
    AppState state;
    EXPECT_EQ(corv::LoadCatalogue(state, path), 3);
    ASSERT_EQ(state.folderList.size(), 1u);
    EXPECT_EQ(corv::FolderEntryLine(state.folderList[0]), "C:\\pics,3");
    EXPECT_EQ(state.folderList[0].path, "C:\\pics");
    EXPECT_EQ(state.pictureList.back(), "C:\\pics\\3.jpg");
}

TEST(CatalogueFiles, LoadWithoutSeparatorGivesOnlyFolders) {
    corvtest::TempDir dir;
    const std::string path = dir.File("list.txt");
    corvtest::WriteFile(path, "A,1\nB,2\nC,3");
    AppState state;
    EXPECT_EQ(corv::LoadCatalogue(state, path), 0);
    EXPECT_EQ(state.folderList.size(), 3u);
    EXPECT_TRUE(state.pictureList.empty());
    EXPECT_EQ(corv::LoadCatalogue(state, dir.File("missing.txt")), 0);
}

TEST(CatalogueFiles, LongLinesAreReadAsSeveralAndEmptyLinesKept) {
    corvtest::TempDir dir;
    const std::string path = dir.File("list.txt");
    corvtest::WriteFile(path, "F,1\r\n&\r\n" + std::string(300, 'x') + "\r\n\r\nlast\r\n");
    AppState state;
    EXPECT_EQ(corv::LoadCatalogue(state, path), 4);
    EXPECT_EQ(state.pictureList[0], std::string(259, 'x'));
    EXPECT_EQ(state.pictureList[1], std::string(41, 'x'));
    EXPECT_EQ(state.pictureList[2], "");
    EXPECT_EQ(state.pictureList[3], "last");
}

TEST(CatalogueFiles, SaveWritesTextModeAndDropsPicturesWithoutFolders) {
    corvtest::TempDir dir;
    const std::string path = dir.File("list.txt");
    AppState state;
    state.pictureList = {"orphan.jpg"};
    EXPECT_TRUE(corv::SaveCatalogue(state, path));
    EXPECT_EQ(corvtest::ReadFile(path), "&\r\n");
    // 그림 in UTF-8, as names are held.
    state.folderList = corvtest::Folders({"C:\\\xEA\xB7\xB8\xEB\xA6\xBC,1"});
    state.pictureList = {"C:\\\xEA\xB7\xB8\xEB\xA6\xBC\\a.jpg"};
    EXPECT_TRUE(corv::SaveCatalogue(state, path));
    AppState again;
    EXPECT_EQ(corv::LoadCatalogue(again, path), 1);
    EXPECT_EQ(again.folderList, state.folderList);
    EXPECT_EQ(again.pictureList, state.pictureList);
}

TEST(CatalogueFiles, FailedSaveKeepsTheOldFile) {
    corvtest::TempDir dir;
    const std::string path = dir.File("list.txt");
    corvtest::WriteFile(path, "A,1\r\n&\r\nA\\x.jpg\r\n");
    corvtest::MakeReadOnly(path);
    AppState state;
    state.folderList = corvtest::Folders({"B,0"});
    EXPECT_FALSE(corv::SaveCatalogue(state, path));
    EXPECT_EQ(corvtest::ReadFile(path), "A,1\r\n&\r\nA\\x.jpg\r\n");
}

TEST(CatalogueScan, FindsPicturesInSubfoldersAndStepsPerEntry) {
    MemoryFileSystem fs;
    fs.AddFile("R", "one.jpg");
    fs.AddFile("R", "notes.txt");
    fs.AddFolder("R", "sub");
    fs.AddFile(JoinPath("R", "sub"), "two.PNG");
    AppState state;
    int steps = 0;
    EXPECT_EQ(corv::ScanFolder(state, fs, "R", [&] { ++steps; }), 2);
    EXPECT_EQ(state.pictureList,
              (std::vector<std::string>{JoinPath("R", "one.jpg"),
                                        JoinPath(JoinPath("R", "sub"), "two.PNG")}));
    EXPECT_EQ(steps, 5 + 3);  // R: . .. one notes sub; sub: . .. two
    EXPECT_EQ(corv::CountEntries(fs, "R"), 8);
    EXPECT_EQ(corv::ScanFolder(state, fs, "missing"), 0);
}

TEST(CatalogueScan, LinksAreNotFollowedSoCyclesEnd) {
    MemoryFileSystem fs;
    fs.AddFile("R", "a.jpg");
    fs.AddFolder("R", "loop", true);  // a junction back to R
    fs.AddFile(JoinPath("R", "loop"), "b.jpg");
    AppState state;
    EXPECT_EQ(corv::ScanFolder(state, fs, "R"), 1);
    EXPECT_EQ(corv::CountEntries(fs, "R"), 4);
}

TEST(CataloguePick, InOrderCyclesAndKeepsTheList) {
    Picker p;
    p.state.settings.israndum = false;
    std::vector<std::string> got;
    for (int i = 0; i < 5; ++i) got.push_back(p.Pick());
    EXPECT_EQ(got, (std::vector<std::string>{JoinPath("P", "a.jpg"), JoinPath("P", "b.png"),
                                             JoinPath("P", "c.gif"), JoinPath("P", "a.jpg"),
                                             JoinPath("P", "b.png")}));
    EXPECT_EQ(p.state.pictureList.size(), 3u);
}

TEST(CataloguePick, RandomShowsEachOnceThenRescans) {
    Picker p;
    p.state.settings.israndum = true;
    p.random = ScriptedRandom({7, 5, 3, 2, 9});
    p.clock.tick = 1000;
    std::vector<std::string> got;
    for (int i = 0; i < 3; ++i) got.push_back(p.Pick());
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (std::vector<std::string>{JoinPath("P", "a.jpg"), JoinPath("P", "b.png"),
                                             JoinPath("P", "c.gif")}));
    EXPECT_TRUE(p.state.pictureList.empty());
    // The pick after the round reads the folders again and picks from them.
    EXPECT_NE(p.Pick(), "");
    EXPECT_EQ(p.state.pictureList.size(), 2u);
}

// Every pick over several rounds has a picture, in either order, whatever
// the size of the round; each random round shows each picture once.
TEST(CataloguePick, EveryPickOfEveryRoundHasAPicture) {
    for (int pictures : {1, 2, 5}) {
        for (bool random : {true, false}) {
            SCOPED_TRACE(std::to_string(pictures) + (random ? " at random" : " in order"));
            MemoryFileSystem fs;
            ScriptedRandom rand{{7, 5, 3, 2, 9, 11, 13}};
            FixedClock clock;
            clock.tick = 1001;
            corv::PickSources sources{fs, rand, clock, nullptr};
            AppState state;
            state.settings.israndum = random;
            state.folderList = corvtest::Folders({"P," + std::to_string(pictures)});
            for (int i = 0; i < pictures; ++i) fs.AddFile("P", std::to_string(i) + ".jpg");
            // Folders only at first, as a hand-written list.txt gives them.
            for (int round = 0; round < 3; ++round) {
                std::vector<std::string> shown;
                for (int i = 0; i < pictures; ++i) {
                    shown.push_back(corv::PickNextPicture(state, sources));
                    EXPECT_NE(shown.back(), "") << "round " << round << ", pick " << i;
                }
                std::sort(shown.begin(), shown.end());
                if (random) {
                    EXPECT_EQ(std::unique(shown.begin(), shown.end()), shown.end())
                        << "round " << round;
                }
            }
        }
    }
}

// Only folders that really hold no picture give a pick without one, and the
// rescan behind it reads each folder once.
TEST(CataloguePick, NoPictureOnlyWhenTheFoldersHoldNone) {
    const struct {
        const char* name;
        std::vector<std::string> folders;
        const char* expected;
    } cases[] = {
        {"no folders", {}, ""},
        {"an empty folder", {"E,0"}, ""},
        {"a folder that is gone", {"gone,4"}, ""},
        {"a gone folder before a full one", {"gone,4", "P,1"}, "a.jpg"},
        {"an empty folder before a full one", {"E,0", "P,1"}, "a.jpg"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryFileSystem fs;
        fs.AddFile("E", "notes.txt");
        fs.AddFile("P", "a.jpg");
        ScriptedRandom rand{{0}};
        FixedClock clock;
        corv::PickSources sources{fs, rand, clock, nullptr};
        AppState state;
        state.settings.israndum = true;
        for (const std::string& line : c.folders)
            state.folderList.push_back(corv::SplitFolderEntry(line));
        const std::string expected = *c.expected ? JoinPath("P", c.expected) : "";
        EXPECT_EQ(corv::PickNextPicture(state, sources), expected);
        EXPECT_LE(fs.listings, static_cast<int>(c.folders.size()));
    }
}

TEST(CataloguePick, RandomIndexIsProductOfRandAndTicksWrapping) {
    Picker p;
    p.state.settings.israndum = true;
    p.random = ScriptedRandom({32767});
    p.clock.tick = 0x80000001u;  // 32767 * tick wraps past 2^32
    const uint32_t r = 32767u * 0x80000001u;
    EXPECT_EQ(p.Pick(), JoinPath("P", std::vector<std::string>{"a.jpg", "b.png", "c.gif"}[r % 3]));
}

TEST(CataloguePick, MissingFilesAreSkippedAndAGoodPickResetsTheMisses) {
    Picker p;
    p.state.settings.israndum = false;
    p.fs.Remove(JoinPath("P", "a.jpg"));
    p.fs.Remove(JoinPath("P", "b.png"));
    EXPECT_EQ(p.Pick(), JoinPath("P", "c.gif"));  // two misses, then c
    EXPECT_EQ(p.state.missCount, 0);
    EXPECT_EQ(p.Pick(), JoinPath("P", "c.gif"));  // a and b again, then c
}

// One stale entry among good ones, in order: every pass over the list shows
// a picture, however many passes are made.
TEST(CataloguePick, OneStaleEntryNeverCostsAPicture) {
    Picker p;
    p.state.settings.israndum = false;
    p.fs.Remove(JoinPath("P", "b.png"));
    for (int i = 0; i < 12; ++i) EXPECT_NE(p.Pick(), "") << "pick " << i;
}

// The limit still ends a pick that finds nothing: three misses in a row.
TEST(CataloguePick, ThreeMissesInARowEndThePick) {
    Picker p;
    p.state.settings.israndum = false;
    p.state.pictureList.push_back(JoinPath("P", "gone.jpg"));
    for (const char* name : {"a.jpg", "b.png", "c.gif"}) p.fs.Remove(JoinPath("P", name));
    EXPECT_EQ(p.Pick(), "");
    EXPECT_EQ(p.state.sequencePosition, 3);  // a, b and c were tried
    EXPECT_EQ(p.state.missCount, 0);
}

TEST(CataloguePick, NoFoldersNoPicture) {
    Picker p;
    p.state.folderList.clear();
    EXPECT_EQ(p.Pick(), "");
    EXPECT_EQ(p.state.pictureList.size(), 3u);
}

TEST(CataloguePick, AllPicturesGoneNeverLoopsForever) {
    Picker p;
    p.state.settings.israndum = true;
    for (const char* name : {"a.jpg", "b.png", "c.gif"}) p.fs.Remove(JoinPath("P", name));
    for (int i = 0; i < 10; ++i) EXPECT_EQ(p.Pick(), "");
}

TEST(CatalogueHistory, ForwardForwardBackBack) {
    Picker p;
    p.state.settings.israndum = false;
    corv::StepPicture(p.state, 0, p.sources);
    corv::StepPicture(p.state, 0, p.sources);
    EXPECT_EQ(p.state.currentPicture, JoinPath("P", "b.png"));
    corv::StepPicture(p.state, -1, p.sources);
    EXPECT_EQ(p.state.currentPicture, JoinPath("P", "a.jpg"));
    corv::StepPicture(p.state, -1, p.sources);
    EXPECT_EQ(p.state.currentPicture, JoinPath("P", "a.jpg"));
    AppState fresh;
    corv::StepPicture(fresh, -1, p.sources);
    EXPECT_EQ(fresh.currentPicture, "");
}

TEST(CatalogueFiles, EntriesSplitAtTheLastComma) {
    const struct {
        std::string entry, path;
        int32_t count;
    } cases[] = {
        {"C:\\pics,3", "C:\\pics", 3},
        {"D:\\Photos, 2019,12", "D:\\Photos, 2019", 12},
        {"D:\\Photos, 2019", "D:\\Photos, 2019", 0},  // no count: all path
        {"Z:\\no count", "Z:\\no count", 0},
        {"E:\\x,", "E:\\x,", 0},
        {"F:\\odd,007", "F:\\odd", 7},  // spelled as the file spells it
        {"F:\\odd,-0", "F:\\odd", 0},
    };
    for (const auto& c : cases) {
        const corv::FolderEntry split = corv::SplitFolderEntry(c.entry);
        EXPECT_EQ(split.path, c.path) << c.entry;
        EXPECT_EQ(split.count, c.count) << c.entry;
        EXPECT_EQ(corv::FolderEntryLine(split), c.entry);  // written back as read
    }
}

TEST(CatalogueFiles, UnreadableListIsNeverOverwritten) {
    corvtest::TempDir dir;
    // A folder where list.txt should be: there, but not readable as a file.
    const std::string path = dir.File("list.txt");
    std::filesystem::create_directories(path);
    AppState state;
    EXPECT_EQ(corv::LoadCatalogue(state, path), 0);
    EXPECT_TRUE(state.catalogueUnreadable);
    state.folderList = corvtest::Folders({"X,1"});
    EXPECT_FALSE(corv::SaveCatalogue(state, path));

    AppState fresh;
    EXPECT_EQ(corv::LoadCatalogue(fresh, dir.File("missing.txt")), 0);
    EXPECT_FALSE(fresh.catalogueUnreadable);
    fresh.folderList = corvtest::Folders({"X,1"});
    EXPECT_TRUE(corv::SaveCatalogue(fresh, dir.File("missing.txt")));
}

TEST(CatalogueScan, RescanTakesFoldersWithCommas) {
    MemoryFileSystem fs;
    fs.AddFile("D, 2019", "a.jpg");
    FixedClock clock;
    ScriptedRandom random{{0}};
    corv::PickSources sources{fs, random, clock, nullptr};
    AppState state;
    state.folderList = corvtest::Folders({"D, 2019,1"});
    state.settings.israndum = false;
    EXPECT_EQ(corv::PickNextPicture(state, sources), JoinPath("D, 2019", "a.jpg"));
    EXPECT_EQ(state.pictureList, std::vector<std::string>{JoinPath("D, 2019", "a.jpg")});
}

TEST(CatalogueScan, ListReadOnTheWorkerIsNotReadAgain) {
    // Whether a forward pick reads the folders first.
    struct Case {
        const char* name;
        bool folders, pictures, needs;
    };
    for (const Case& c :
         {Case{"folders, empty list", true, false, true},
          Case{"folders and pictures", true, true, false}, Case{"no folders", false, false, false},
          Case{"pictures without folders", false, true, false}}) {
        AppState state;
        if (c.folders) state.folderList = corvtest::Folders({"P,1"});
        if (c.pictures) state.pictureList = {"P\\a.jpg"};
        EXPECT_EQ(corv::PickNeedsRescan(state), c.needs) << c.name;
    }

    // The worker found nothing: the pick ends without listing the folder
    // once more on the user-interface thread.
    MemoryFileSystem fs;
    fs.AddFile("P", "a.jpg");
    FixedClock clock;
    ScriptedRandom random{{0}};
    corv::PickSources sources{fs, random, clock, nullptr, true};
    AppState state;
    state.folderList = corvtest::Folders({"P,1"});
    EXPECT_EQ(corv::PickNextPicture(state, sources), "");
    EXPECT_TRUE(state.pictureList.empty());
    // Without the worker's scan the same pick reads the folder itself.
    sources.listScanned = false;
    EXPECT_EQ(corv::PickNextPicture(state, sources), JoinPath("P", "a.jpg"));
}
