// The first start in a folder: decided by env.ini's presence and whether the
// folder takes files at all.
#include <gtest/gtest.h>

#include <filesystem>

#include "engine/first_start.h"
#include "test_util.h"

namespace {

using corv::IsFirstStart;
using corvtest::TempDir;

TEST(FirstStart, OnlyAWritableFolderWithoutEnvIniIsAFirstStart) {
    TempDir dir;
    EXPECT_TRUE(IsFirstStart(dir.Path(), true));
    // The folder that takes no files says so in its own message instead,
    // and would count as first at every start.
    EXPECT_FALSE(IsFirstStart(dir.Path(), false));

    // The other files of a zip unpacked before do not count.
    corvtest::WriteFile(dir.File("list.txt"), "&\r\n");
    corvtest::WriteFile(dir.File("xdaylist.txt"), "0101=x\r\n");
    EXPECT_TRUE(IsFirstStart(dir.Path(), true));

    // Any env.ini means an earlier start: an empty one, or one holding
    // only the wallpaper path of a start that was killed.
    corvtest::WriteFile(dir.File("env.ini"), "");
    EXPECT_FALSE(IsFirstStart(dir.Path(), true));
    corvtest::WriteFile(dir.File("env.ini"), "[DEFAULT]\r\noriwallpath=\r\n");
    EXPECT_FALSE(IsFirstStart(dir.Path(), true));
}

TEST(FirstStart, AnythingNamedEnvIniCountsAsAnEarlierStart) {
    TempDir dir;
    std::filesystem::create_directory(dir.File("env.ini"));
    EXPECT_FALSE(IsFirstStart(dir.Path(), true));
}

}  // namespace
