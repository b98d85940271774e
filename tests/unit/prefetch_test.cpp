// The next picture prepared ahead: picks made ahead give exactly the
// pictures, the history and the catalogue that picks made at the change
// give (in order, at random, with the previous-picture command, with files
// deleted after the pick), the picture a change asks for is the one that
// was planned (size limits, slots, collage), and a prepared picture is
// found only for the same file, size and stamp.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compose/composer.h"
#include "compose/prepared_pictures.h"
#include "engine/catalogue.h"
#include "engine/paths.h"
#include "support/fakes.h"
#include "support/folder_lines.h"
#include "support/recording_imaging.h"

using corv::AppState;
using corv::JoinPath;
using corv::NeededSize;

namespace {

// One cycle of steps over folder "P" with pictures 0.jpg ... (n-1).jpg.
struct Cycle {
    corvtest::MemoryFileSystem fs;
    corvtest::ScriptedRandom random{{7, 3, 11, 5, 2, 13, 1, 8, 4, 6, 10, 12, 9}};
    corvtest::FixedClock clock;
    AppState state;
    corv::ReturningRandom draws{random, state.returnedDraws};
    corv::PickSources sources{fs, draws, clock, nullptr};
    std::vector<std::string> shown;

    Cycle(int n, bool randomOrder) {
        for (int i = 0; i < n; ++i) {
            const std::string name = std::to_string(i) + ".jpg";
            fs.AddFile("P", name);
            state.pictureList.push_back(JoinPath("P", name));
        }
        state.folderList = corvtest::Folders({"P,0"});
        state.settings.israndum = randomOrder;
        state.settings.isforeimg = true;
        clock.tick = 3;
    }
    // '+' next, '-' previous, 'dN' deletes N.jpg, 'x' drops the picks made
    // ahead (the settings sheet opens), 'r' adds R.jpg to the folder.
    void Play(const std::string& script, bool ahead) {
        for (std::size_t i = 0; i < script.size(); ++i) {
            const char c = script[i];
            if (c == 'd') {
                fs.Remove(JoinPath("P", std::string(1, script[++i]) + ".jpg"));
                continue;
            }
            if (c == 'x') {
                corv::DropPicksAhead(state);
                continue;
            }
            corv::StepPicture(state, c == '+' ? 0 : -1, sources);
            shown.push_back(state.currentPicture + "|" + state.previousPicture);
            if (ahead) {
                corv::MakePicksAhead(state, sources, 1);
            }
        }
        corv::DropPicksAhead(state);
    }
};

}  // namespace

TEST(Prefetch, PicksMadeAheadShowWhatPicksAtTheChangeShow) {
    struct Case {
        const char* name;
        int pictures;
        bool random;
        std::string script;
    };
    const Case cases[] = {
        {"in order, round and round", 3, false, "+++++++"},
        {"at random, across the end of a round (rescan)", 4, true, "++++++++++"},
        {"previous picture between", 4, false, "++-+--++"},
        {"at random with previous", 5, true, "+-+-++--+++"},
        {"picked ahead, then deleted", 4, false, "+d1++++"},
        {"at random, picked ahead then deleted", 5, true, "++d2d3+++d0++"},
        {"all but one deleted", 4, false, "+d1d2d3+++"},
        {"the sheet drops the pick ahead", 4, true, "++x+x++"},
        {"one picture", 1, false, "++-++"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Cycle atChange(c.pictures, c.random);
        Cycle ahead(c.pictures, c.random);
        atChange.Play(c.script, false);
        ahead.Play(c.script, true);
        EXPECT_EQ(ahead.shown, atChange.shown);
        // And the catalogue is left as the picks at the change leave it.
        EXPECT_EQ(ahead.state.pictureList, atChange.state.pictureList);
        EXPECT_EQ(ahead.state.sequencePosition, atChange.state.sequencePosition);
        EXPECT_EQ(ahead.state.missCount, atChange.state.missCount);
        // Every number drawn ahead and given back was drawn again, but for
        // those of the last pick ahead, dropped at the end.
        EXPECT_EQ(ahead.random.calls - static_cast<int>(ahead.state.returnedDraws.size()),
                  atChange.random.calls);
    }
}

TEST(Prefetch, NoPickAheadWhereTheChangeMustReadTheFoldersOrDrawsNoPicture) {
    // The last picture of a random round was shown: the next change reads
    // the folders (on the worker), so nothing is picked ahead.
    Cycle endOfRound(1, true);
    endOfRound.Play("+", true);
    corv::MakePicksAhead(endOfRound.state, endOfRound.sources, 1);
    EXPECT_TRUE(endOfRound.state.picksAhead.empty());
    EXPECT_TRUE(corv::PickNeedsRescan(endOfRound.state));

    // With the last picture picked ahead the list is empty, yet the next
    // change takes the pick and reads nothing.
    Cycle lastAhead(2, true);
    lastAhead.Play("+", false);
    corv::MakePicksAhead(lastAhead.state, lastAhead.sources, 1);
    ASSERT_EQ(lastAhead.state.picksAhead.size(), 1u);
    EXPECT_TRUE(lastAhead.state.pictureList.empty());
    EXPECT_FALSE(corv::PickNeedsRescan(lastAhead.state));
    const int listings = lastAhead.fs.listings;
    corv::StepPicture(lastAhead.state, 0, lastAhead.sources);
    EXPECT_EQ(lastAhead.fs.listings, listings);

    // The picture step off: a pick ahead may exist from before, but nothing
    // is prepared.
    Cycle off(3, false);
    off.Play("+", true);
    off.state.settings.isforeimg = false;
    corv::MakePicksAhead(off.state, off.sources, 1);
    EXPECT_TRUE(corv::PlanPrefetch(off.state, {NeededSize{400, 400, false}}).prepare.empty());
}

namespace {

// A composer over folder "P" that notes what each change asks the prepared
// pictures for, so the plan made after a change can be held against the
// request of the next.
struct PlannedComposer {
    corvtest::RecordingImaging imaging;
    corvtest::RecordingDesktop desktop;
    corvtest::ScriptedRandom random{{5, 9, 2}};
    corvtest::FixedClock clock;
    corvtest::MemoryFileSystem fs;
    std::vector<corv::PreparedRequest> asked;
    corv::ComposeServices services{imaging,
                                   desktop,
                                   random,
                                   clock,
                                   fs,
                                   nullptr,
                                   false,
                                   [this](const std::string& path, const NeededSize& need) {
                                       asked.push_back(corv::PreparedRequest{path, need});
                                       return std::unique_ptr<corv::Image>();
                                   }};
    AppState state;

    PlannedComposer() {
        corv::ProfileFile defaults("none");
        corv::LoadSettings(state.settings, state.exceptionPrograms, defaults);
        state.settings.programDir = "prog";
        state.settings.iscalender = false;
        state.folderList = corvtest::Folders({"P,0"});
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
            fs.AddFile("P", name);
            state.pictureList.push_back(JoinPath("P", name));
            imaging.AddPicture(JoinPath("P", name), 800, 600);
        }
        state.freshCanvasRequested = 1;
    }
    corv::PrefetchPlan ChangeAndPlan() {
        corv::ChangeWallpaper(state, 0, services);
        const std::vector<NeededSize> needs = corv::NextPictureNeeds(state, desktop);
        corv::PickSources sources{fs, random, clock, nullptr};
        corv::MakePicksAhead(state, sources, needs.size());
        return corv::PlanPrefetch(state, needs);
    }
};

std::string Str(const NeededSize& n) {
    return std::to_string(n.width) + "x" + std::to_string(n.height);
}

}  // namespace

TEST(Prefetch, TheNextChangeAsksForThePlannedPictureAtThePlannedSize) {
    struct Case {
        const char* name;
        bool random, collage;
        corv::ImagePos place;
        std::vector<corv::SlotRect> slots;
        bool twoMonitors = false;
    };
    const Case cases[] = {
        {"in order, centred", false, false, corv::ImagePos::Centred, {}},
        {"at random, random places", true, false, corv::ImagePos::Random, {}},
        {"collage", true, true, corv::ImagePos::Random, {}},
        {"slots of two widths",
         false,
         false,
         corv::ImagePos::Slots,
         {{0, 0, 500, 400}, {600, 0, 800, 300}, {0, 400, 300, 700}}},
        {"collage in slots",
         false,
         true,
         corv::ImagePos::Slots,
         {{0, 0, 500, 400}, {600, 0, 800, 300}}},
        {"two monitors, a picture each", false, false, corv::ImagePos::Centred, {}, true},
        {"two monitors at random", true, false, corv::ImagePos::Random, {}, true},
        {"two monitors with slots on one",
         false,
         false,
         corv::ImagePos::Slots,
         {{100, 100, 500, 400}, {-700, 50, -300, 350}, {200, 300, 450, 500}},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PlannedComposer pc;
        pc.state.settings.israndum = c.random;
        pc.state.settings.isoverlap = c.collage;
        pc.state.settings.imagepos = c.place;
        pc.state.placementSlots = c.slots;
        if (c.twoMonitors)
            pc.desktop.monitors = {corv::MonitorArea{corv::RectI{-800, 0, 800, 600},
                                                     corv::RectI{-800, 0, 800, 600}, false},
                                   corv::MonitorArea{corv::RectI{0, 0, 1024, 768},
                                                     corv::RectI{0, 0, 1024, 740}, true}};
        corv::PrefetchPlan plan = pc.ChangeAndPlan();
        for (int change = 0; change < 7; ++change) {
            if (plan.prepare.size() < (c.twoMonitors ? 2u : 1u)) {
                // Only at the end of a random round, read again by its change.
                EXPECT_TRUE(pc.state.pictureList.empty()) << change;
                plan = pc.ChangeAndPlan();
                continue;
            }
            ASSERT_EQ(plan.prepare.size(), c.twoMonitors ? 2u : 1u);
            const std::vector<corv::PreparedRequest> planned = plan.prepare;
            pc.asked.clear();
            plan = pc.ChangeAndPlan();
            ASSERT_EQ(pc.asked.size(), planned.size()) << change;
            for (std::size_t i = 0; i < planned.size(); ++i) {
                EXPECT_EQ(pc.asked[i].path, planned[i].path) << change << " " << i;
                EXPECT_EQ(Str(pc.asked[i].need), Str(planned[i].need)) << change << " " << i;
            }
            // Kept: the picture shown, the one before it, and the next.
            EXPECT_EQ(plan.keep.front(), pc.state.previousPicture);
        }
    }
}

TEST(Prefetch, SettingsChangedAfterThePlanAskForAnotherSize) {
    struct Case {
        const char* name;
        void (*change)(AppState&);
        std::string before, after;
    };
    const Case cases[] = {
        {"size limit", [](AppState& s) { s.settings.picmaxsize = 640; }, "400x400", "640x640"},
        {"slots drawn",
         [](AppState& s) {
             s.settings.imagepos = corv::ImagePos::Slots;
             s.placementSlots = {{0, 0, 250, 300}};
         },
         "400x400", "250x250"},
        {"slot removed under the index",
         [](AppState& s) {
             s.settings.imagepos = corv::ImagePos::Slots;
             s.placementSlots = {{0, 0, 120, 90}};
             s.slotIndex = 3;
         },
         "400x400", "120x120"},
        {"limit of 0 from a hand-edited file", [](AppState& s) { s.settings.picmaxsize = 0; },
         "400x400", "400x400"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        AppState state;
        state.settings.picmaxsize = 400;
        EXPECT_EQ(Str(corv::PictureNeed(state)), c.before);
        c.change(state);
        EXPECT_EQ(Str(corv::PictureNeed(state)), c.after);
    }
}

TEST(Prefetch, APreparedPictureIsFoundOnlyForTheSameFileSizeAndStamp) {
    corv::PreparedPictures cache(3);
    const corv::FileStamp stamp{true, 1000, 42};
    const corv::PreparedKey key{"P\\a.jpg", NeededSize{400, 400, false}, stamp};
    cache.Put(key, std::make_shared<corv::PreparedPixels>());
    EXPECT_NE(cache.Find(key), nullptr);

    struct Miss {
        const char* name;
        corv::PreparedKey key;
    };
    const Miss misses[] = {
        {"written again (time)", {"P\\a.jpg", {400, 400, false}, {true, 1000, 43}}},
        {"written again (size)", {"P\\a.jpg", {400, 400, false}, {true, 999, 42}}},
        {"deleted", {"P\\a.jpg", {400, 400, false}, {false, 0, 0}}},
        {"size limit changed", {"P\\a.jpg", {640, 640, false}, stamp}},
        {"another file", {"P\\b.jpg", {400, 400, false}, stamp}},
    };
    for (const Miss& m : misses) EXPECT_EQ(cache.Find(m.key), nullptr) << m.name;

    // A picture prepared again replaces the old one of its path; the oldest
    // goes beyond the capacity; what no change wants is let go.
    corv::PreparedKey again = key;
    again.need = NeededSize{640, 640, false};
    cache.Put(again, std::make_shared<corv::PreparedPixels>());
    EXPECT_EQ(cache.Count(), 1u);
    EXPECT_EQ(cache.Find(key), nullptr);
    for (const char* path : {"b", "c", "d"}) {
        corv::PreparedKey other = key;
        other.path = path;
        cache.Put(other, std::make_shared<corv::PreparedPixels>());
    }
    EXPECT_EQ(cache.Count(), 3u);
    EXPECT_EQ(cache.Find(again), nullptr);
    cache.KeepOnly({"c", "x"});
    EXPECT_EQ(cache.Count(), 1u);
    corv::PreparedKey c = key;
    c.path = "c";
    EXPECT_NE(cache.Find(c), nullptr);
}
