// The framework: message maps, modal and modeless dialogs from the
// program's templates, and a property sheet with its own modal loop.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/settings.h"
#include "framework/app_win.h"
#include "framework/control_change.h"
#include "framework/dialog_win.h"
#include "framework/message_map_win.h"
#include "framework/property_sheet_win.h"
#include "res/page1_background_ids.h"
#include "res/resource.h"

namespace {

using corv::Message;
using corv::MessageMap;

// --- message maps -----------------------------------------------------------

struct Target {
    std::vector<std::string> calls;
    void OnMenu() { calls.push_back("menu"); }
    void OnChange() { calls.push_back("change"); }
    void OnFirst() { calls.push_back("first"); }
    void OnSecond() { calls.push_back("second"); }
    void OnTimer(UINT_PTR id) { calls.push_back("timer " + std::to_string(id)); }
    LRESULT OnNotify(NMHDR& header) { return static_cast<LRESULT>(header.idFrom) * 10; }
    bool OnQueryEndSession() { return false; }
    LRESULT OnPrivate(WPARAM w, LPARAM l) { return static_cast<LRESULT>(w + l); }
    void OnSwitch(int id) { calls.push_back("switch " + std::to_string(id)); }
    void OnPick(int id) { calls.push_back("pick " + std::to_string(id)); }
};

const MessageMap<Target>& TargetMap() {
    using Map = MessageMap<Target>;
    static const Map map = {
        Map::OnCommand(100, &Target::OnMenu),
        Map::OnControl(200, EN_CHANGE, &Target::OnChange),
        Map::OnCommand(300, &Target::OnFirst),
        Map::OnCommand(300, &Target::OnSecond),
        Map::OnTimer(&Target::OnTimer),
        Map::OnNotify(7, NM_CLICK, &Target::OnNotify),
        Map::OnQueryEndSession(&Target::OnQueryEndSession),
        Map::OnMessage(WM_APP + 1, &Target::OnPrivate),
        Map::OnCommands({400, 401, 403}, &Target::OnSwitch),
        Map::OnControls({500, 501}, CBN_SELCHANGE, &Target::OnPick),
    };
    return map;
}

bool Route(Target& target, Message& message) {
    return TargetMap().Dispatch(target, message);
}

Message Command(WORD id, WORD code, LPARAM control = 0) {
    Message m;
    m.id = WM_COMMAND;
    m.wParam = MAKEWPARAM(id, code);
    m.lParam = control;
    return m;
}

TEST(MessageMap, CommandsMatchByIdAndKind) {
    Target t;
    Message menu = Command(100, 0);
    EXPECT_TRUE(Route(t, menu));
    Message accelerator = Command(100, 1);
    EXPECT_TRUE(Route(t, accelerator));
    // Code 1 from a control is a notification (LBN_SELCHANGE), not a command.
    Message fromControl = Command(100, 1, 0x1234);
    EXPECT_FALSE(Route(t, fromControl));
    Message otherId = Command(101, 0);
    EXPECT_FALSE(Route(t, otherId));
    Message change = Command(200, EN_CHANGE, 0x1234);
    EXPECT_TRUE(Route(t, change));
    Message otherCode = Command(200, EN_KILLFOCUS, 0x1234);
    EXPECT_FALSE(Route(t, otherCode));
    EXPECT_EQ((std::vector<std::string>{"menu", "menu", "change"}), t.calls);
}

TEST(MessageMap, AnEntryForSeveralControlsTellsWhichOne) {
    Target t;
    for (WORD id : {401, 403, 400}) {
        Message click = Command(id, BN_CLICKED, 0x1234);
        EXPECT_TRUE(Route(t, click)) << id;
    }
    Message other = Command(402, BN_CLICKED, 0x1234);
    EXPECT_FALSE(Route(t, other));
    Message pick = Command(501, CBN_SELCHANGE, 0x1234);
    EXPECT_TRUE(Route(t, pick));
    Message otherCode = Command(500, CBN_DROPDOWN, 0x1234);
    EXPECT_FALSE(Route(t, otherCode));
    EXPECT_EQ((std::vector<std::string>{"switch 401", "switch 403", "switch 400", "pick 501"}),
              t.calls);
}

TEST(MessageMap, TheFirstMatchingEntryWins) {
    Target t;
    Message m = Command(300, 0);
    EXPECT_TRUE(Route(t, m));
    EXPECT_EQ(std::vector<std::string>{"first"}, t.calls);
}

TEST(MessageMap, WatchersPassTheMessageOnAndAnswersAreKept) {
    Target t;
    Message timer;
    timer.id = WM_TIMER;
    timer.wParam = 7;
    EXPECT_FALSE(Route(t, timer));  // the default handling still runs
    EXPECT_EQ(std::vector<std::string>{"timer 7"}, t.calls);

    NMHDR header{nullptr, 7, static_cast<UINT>(NM_CLICK)};
    Message notify;
    notify.id = WM_NOTIFY;
    notify.lParam = reinterpret_cast<LPARAM>(&header);
    EXPECT_TRUE(Route(t, notify));
    EXPECT_EQ(70, notify.result);
    header.idFrom = 8;
    EXPECT_FALSE(Route(t, notify));

    Message query;
    query.id = WM_QUERYENDSESSION;
    query.result = 99;
    EXPECT_TRUE(Route(t, query));
    EXPECT_EQ(FALSE, query.result);

    Message priv;
    priv.id = WM_APP + 1;
    priv.wParam = 2;
    priv.lParam = 3;
    EXPECT_TRUE(Route(t, priv));
    EXPECT_EQ(5, priv.result);

    Message unknown;
    unknown.id = WM_APP + 2;
    EXPECT_FALSE(Route(t, unknown));
}

// --- dialogs ----------------------------------------------------------------

constexpr UINT kStep = WM_APP + 10;

// Runs on the empty template 102: at start it posts itself a command, whose
// handler throws once and then ends the dialog through OnOK.
class ScriptedDialog : public corv::CDialog {
public:
    ScriptedDialog() : CDialog(IDD_MAIN) {}
    std::vector<std::string> calls;
    bool throwAtInit = false;

protected:
    BOOL OnInitDialog() override {
        calls.push_back("init");
        if (throwAtInit) throw std::runtime_error("cannot start");
        Post(WM_COMMAND, 500);
        return TRUE;
    }
    void OnOK() override {
        calls.push_back("ok");
        EndDialog(7);
    }
    bool RouteMessage(Message& message) override {
        using Map = MessageMap<ScriptedDialog>;
        static const Map map = {
            Map::OnCommand(500, &ScriptedDialog::OnStep),
        };
        return map.Dispatch(*this, message) || CDialog::RouteMessage(message);
    }

private:
    void OnStep() {
        calls.push_back("step");
        if (calls.size() == 2) {
            Post(WM_COMMAND, 500);
            throw std::runtime_error("a failing handler");
        }
        Post(WM_COMMAND, IDOK);
    }
};

TEST(Dialog, RunsModallyThroughItsMessageMap) {
    ScriptedDialog dialog;
    EXPECT_EQ(7, dialog.DoModal());
    EXPECT_EQ((std::vector<std::string>{"init", "step", "step", "ok"}), dialog.calls);
    EXPECT_EQ(nullptr, dialog.Handle());
}

// Posts itself Escape and Enter, then a command that ends the run with 7.
class KeyDialog : public corv::CDialog {
public:
    explicit KeyDialog(bool ignores) : CDialog(IDD_MAIN), ignores_(ignores) {}
    bool IgnoresEnterAndEscape() const override { return ignores_; }

protected:
    BOOL OnInitDialog() override {
        for (WPARAM key : {VK_ESCAPE, VK_RETURN}) Post(WM_KEYDOWN, key, 1);
        Post(WM_COMMAND, 500);
        return TRUE;
    }
    bool RouteMessage(Message& message) override {
        using Map = MessageMap<KeyDialog>;
        static const Map map = {
            Map::OnCommand(500, &KeyDialog::OnEnd),
        };
        return map.Dispatch(*this, message) || CDialog::RouteMessage(message);
    }

private:
    void OnEnd() { EndDialog(7); }
    bool ignores_;
};

TEST(Dialog, AModalRunDropsEnterAndEscapeOnlyWhereTheyAreIgnored) {
    KeyDialog plain(false);
    EXPECT_EQ(IDCANCEL, plain.DoModal());  // Escape became a cancel
    KeyDialog ignoring(true);
    EXPECT_EQ(7, ignoring.DoModal());
}

TEST(Dialog, AFailingInitialisationEndsTheRun) {
    ScriptedDialog dialog;
    dialog.throwAtInit = true;
    EXPECT_EQ(-1, dialog.DoModal());
}

// A modeless window whose object goes with its window.
class SelfOwnedDialog : public corv::CDialog {
public:
    explicit SelfOwnedDialog(bool* gone) : CDialog(IDD_MAIN), gone_(gone) {}

protected:
    void OnWindowGone() override {
        *gone_ = true;
        delete this;
    }

private:
    bool* gone_;
};

TEST(Dialog, AModelessWindowCanDeleteItsObject) {
    bool gone = false;
    auto* dialog = new SelfOwnedDialog(&gone);
    ASSERT_TRUE(dialog->Create());
    HWND window = dialog->Handle();
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(dialog, corv::CDialog::FromHandle(window));
    dialog->EndDialog(0);
    EXPECT_TRUE(gone);
    EXPECT_FALSE(IsWindow(window));
}

TEST(Dialog, WithoutAParentTheMainWindowOwnsIt) {
    corv::CWinApp app;
    ScriptedDialog mainDialog;
    ASSERT_TRUE(mainDialog.Create());
    app.SetMainWindow(&mainDialog);
    ScriptedDialog child;
    ASSERT_TRUE(child.Create());
    EXPECT_EQ(mainDialog.Handle(), GetWindow(child.Handle(), GW_OWNER));
    // The main window is never its own owner.
    EXPECT_EQ(nullptr, GetWindow(mainDialog.Handle(), GW_OWNER));
    app.SetMainWindow(nullptr);
}

// --- property sheets --------------------------------------------------------

class RecordingPage : public corv::CPropertyPage {
public:
    RecordingPage(UINT templateId, std::vector<std::string>* log, std::string name)
        : CPropertyPage(templateId), log_(log), name_(std::move(name)) {}

protected:
    BOOL OnInitDialog() override {
        log_->push_back(name_ + " made");
        return TRUE;
    }
    bool OnSetActive() override {
        log_->push_back(name_ + " shown");
        // Closing is tried once the loop runs: first a close command that
        // the sheet refuses, then a message of the loop, then cancel.
        PostMessageW(GetSheet()->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    }

private:
    std::vector<std::string>* log_;
    std::string name_;
};

class RecordingSheet : public corv::CPropertySheet {
public:
    RecordingSheet()
        : CPropertySheet(L"시험", nullptr, 1),
          first(IDD_MAIN, &log, "first"),
          second(IDD_ABOUTBOX, &log, "second") {
        AddPage(first);
        AddPage(second);
    }
    std::vector<std::string> log;
    RecordingPage first;
    RecordingPage second;

protected:
    void OnInitSheet() override { log.push_back("sheet made"); }
    bool PreTranslateMessage(MSG& message) override {
        if (message.message != kStep) return false;
        log.push_back("loop saw the step on page " + std::to_string(GetActiveIndex()));
        PostMessageW(Handle(), WM_COMMAND, IDCANCEL, 0);
        return true;
    }
    bool RouteMessage(Message& message) override {
        using Map = MessageMap<RecordingSheet>;
        static const Map map = {
            Map::OnSysCommand(&RecordingSheet::OnSysCommand),
        };
        return map.Dispatch(*this, message);
    }

private:
    bool OnSysCommand(UINT command) {
        if ((command & 0xFFF0) != SC_CLOSE) return false;
        log.push_back("close refused");
        PostMessageW(Handle(), kStep, 0, 0);
        return true;
    }
};

TEST(Sheet, RunsItsOwnLoopAndMakesPagesWhenShown) {
    RecordingSheet sheet;
    EXPECT_EQ(IDCANCEL, sheet.DoModal());
    EXPECT_EQ((std::vector<std::string>{"sheet made", "second made", "second shown",
                                        "close refused", "loop saw the step on page 1"}),
              sheet.log);
    // The first page was never shown, so its window was never made.
    EXPECT_EQ(nullptr, sheet.first.Handle());
    EXPECT_EQ(nullptr, sheet.Handle());
    EXPECT_EQ(-1, sheet.GetActiveIndex());
}

}  // namespace

// --- dialog items and controls handed their own notifications ----------------

namespace {

// The background page's template as a child dialog of a hidden pop-up.
class ItemsDialog : public corv::CDialog {
public:
    explicit ItemsDialog(HWND parent) : CDialog(IDD_PAGE_BACKGROUND, parent) {}
    std::vector<UINT> seen;  // messages that reached the dialog's own map

protected:
    bool RouteMessage(Message& message) override {
        if (message.id == WM_COMMAND || message.id == WM_CTLCOLORBTN || message.id == WM_DRAWITEM)
            seen.push_back(message.id);
        return CDialog::RouteMessage(message);
    }
};

// A control that makes the changes of kind Flags itself.
class FlagTaker : public corv::CButton {
public:
    std::vector<corv::ControlChange> taken;
    bool TakeChange(const corv::ControlChange& change) override {
        if (change.kind != corv::ControlChange::Kind::Flags) return false;
        taken.push_back(change);
        return true;
    }
};

// A control that takes its clicks and lets everything else go on.
class ClickTaker : public corv::CButton {
public:
    int bound = 0;
    int clicks = 0;
    bool OnReflected(Message& message) override {
        if (message.id != WM_COMMAND || HIWORD(message.wParam) != BN_CLICKED) return false;
        ++clicks;
        return true;
    }

protected:
    void OnBound() override { ++bound; }
};

struct ItemsFixture {
    HWND popup = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 500, 400, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
    ~ItemsFixture() { DestroyWindow(popup); }
};

}  // namespace

TEST(DialogItems, NumbersChecksAndEnabling) {
    ItemsFixture fixture;
    ItemsDialog dialog(fixture.popup);
    ASSERT_TRUE(dialog.Create());
    const int label = IDC_BG_FILE_NAME;
    const struct {
        const wchar_t* text;
        int32_t value;
    } numbers[] = {{L"  -12ab", -12}, {L"+7", 7}, {L"x9", 0}, {L"", 0}, {L"\t42 ", 42}};
    // A number is read from an item's text as the settings read numbers.
    for (const auto& n : numbers) {
        dialog.SetItemText(label, n.text);
        EXPECT_EQ(corv::ParseDecimal(dialog.GetItemTextUtf8(label)), n.value);
    }
    dialog.SetItemInt(label, -5);
    EXPECT_EQ(dialog.GetItemText(label), L"-5");

    dialog.CheckItem(IDC_BG_COLOR_SWITCH, true);
    EXPECT_TRUE(dialog.IsItemChecked(IDC_BG_COLOR_SWITCH));
    dialog.CheckItem(IDC_BG_COLOR_SWITCH, false);
    EXPECT_FALSE(dialog.IsItemChecked(IDC_BG_COLOR_SWITCH));
    dialog.EnableItems({IDC_BG_CHOOSE_IMAGE, IDC_BG_STRETCH_SWITCH}, false);
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_BG_CHOOSE_IMAGE));
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_BG_STRETCH_SWITCH));
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_BG_IMAGE_SWITCH));

    EXPECT_FALSE(dialog.IsFilling());
    {
        corv::CDialog::FillGuard outer(dialog);
        {
            corv::CDialog::FillGuard inner(dialog);
            EXPECT_TRUE(dialog.IsFilling());
        }
        EXPECT_TRUE(dialog.IsFilling());
    }
    EXPECT_FALSE(dialog.IsFilling());
    dialog.EndDialog(0);
}

TEST(DialogItems, BoundControlsGetTheirNotificationsFirst) {
    ItemsFixture fixture;
    ItemsDialog dialog(fixture.popup);
    ASSERT_TRUE(dialog.Create());
    ClickTaker taker;
    ASSERT_TRUE(dialog.BindControl(taker, IDC_BG_CHOOSE_IMAGE));
    EXPECT_EQ(taker.bound, 1);
    EXPECT_FALSE(dialog.BindControl(taker, IDC_BG_CHOOSE_IMAGE));  // bound once
    EXPECT_EQ(corv::CControl::FromHandle(taker.Handle()), &taker);

    const auto click = [&](int id) {
        dialog.Send(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                    reinterpret_cast<LPARAM>(dialog.GetDlgItem(id)));
    };
    click(IDC_BG_CHOOSE_IMAGE);
    EXPECT_EQ(taker.clicks, 1);
    EXPECT_TRUE(dialog.seen.empty());
    // Another control's click, and what the control leaves, reach the map.
    click(IDC_BG_COLOR_BUTTON);
    dialog.Send(WM_COMMAND, MAKEWPARAM(IDC_BG_CHOOSE_IMAGE, BN_SETFOCUS),
                reinterpret_cast<LPARAM>(taker.Handle()));
    EXPECT_EQ(dialog.seen, (std::vector<UINT>{WM_COMMAND, WM_COMMAND}));

    HWND control = taker.Handle();
    taker.Unbind();
    EXPECT_EQ(corv::CControl::FromHandle(control), nullptr);
    click(IDC_BG_CHOOSE_IMAGE);
    EXPECT_EQ(taker.clicks, 1);
    dialog.EndDialog(0);
}

TEST(DialogItems, ChangesAreAppliedInOrderAndBoundControlsTakeTheirOwn) {
    using Change = corv::ControlChange;
    ItemsFixture fixture;
    // Shown, active and enabled (a page's template is disabled until its
    // sheet shows it), so that the focus can go to one of its controls.
    ShowWindow(fixture.popup, SW_SHOW);
    SetForegroundWindow(fixture.popup);
    ItemsDialog dialog(fixture.popup);
    ASSERT_TRUE(dialog.Create());
    dialog.Show(SW_SHOW);
    dialog.Enable(true);
    FlagTaker taker;
    ASSERT_TRUE(dialog.BindControl(taker, IDC_BG_STRETCH_SWITCH));

    dialog.ApplyChanges(
        {Change::Enable(IDC_BG_CHOOSE_IMAGE, false), Change::Check(IDC_BG_COLOR_SWITCH, true),
         Change::Text(IDC_BG_FILE_NAME, "sky.jpg"), Change::Flags(IDC_BG_STRETCH_SWITCH, 4, true),
         Change::Enable(IDC_BG_STRETCH_SWITCH, false), Change::Enable(IDC_BG_COLOR_BUTTON, false),
         Change::Enable(IDC_BG_COLOR_BUTTON, true), Change::Focus(IDC_BG_IMAGE_SWITCH)});
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_BG_CHOOSE_IMAGE));
    EXPECT_TRUE(dialog.IsItemChecked(IDC_BG_COLOR_SWITCH));
    EXPECT_EQ(dialog.GetItemTextUtf8(IDC_BG_FILE_NAME), "sky.jpg");
    // The bound control took its flags; its enabling was the dialog's.
    EXPECT_EQ(taker.taken, std::vector<Change>{Change::Flags(IDC_BG_STRETCH_SWITCH, 4, true)});
    EXPECT_FALSE(dialog.IsItemEnabled(IDC_BG_STRETCH_SWITCH));
    EXPECT_TRUE(dialog.IsItemEnabled(IDC_BG_COLOR_BUTTON));  // the last change counts
    EXPECT_EQ(GetFocus(), dialog.GetDlgItem(IDC_BG_IMAGE_SWITCH));
    // Flags for a control that does not take them change nothing.
    dialog.ApplyChanges({Change::Flags(IDC_BG_FILE_NAME, 1, true)});
    EXPECT_EQ(dialog.GetItemTextUtf8(IDC_BG_FILE_NAME), "sky.jpg");
    dialog.EndDialog(0);
}

TEST(DialogItems, APreviewIsOwnerDrawnAndDrawsThroughItsFunction) {
    ItemsFixture fixture;
    ItemsDialog dialog(fixture.popup);
    ASSERT_TRUE(dialog.Create());
    corv::CPreview preview;
    ASSERT_TRUE(dialog.BindControl(preview, IDC_BG_PREVIEW));
    EXPECT_EQ(preview.GetStyle() & SS_TYPEMASK, SS_OWNERDRAW);
    std::vector<std::pair<HDC, RECT>> draws;
    preview.SetDraw([&draws](HDC dc, const RECT& area) { draws.push_back({dc, area}); });

    HDC dc = CreateCompatibleDC(nullptr);
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_STATIC;
    item.CtlID = IDC_BG_PREVIEW;
    item.hwndItem = preview.Handle();
    item.hDC = dc;
    item.rcItem = RECT{1, 2, 30, 40};
    EXPECT_EQ(TRUE, dialog.Send(WM_DRAWITEM, IDC_BG_PREVIEW, reinterpret_cast<LPARAM>(&item)));
    DeleteDC(dc);
    ASSERT_EQ(draws.size(), 1u);
    EXPECT_EQ(draws[0].first, dc);
    EXPECT_EQ(draws[0].second.left, 1);
    EXPECT_EQ(draws[0].second.bottom, 40);
    EXPECT_TRUE(dialog.seen.empty());  // the dialog's map never saw it
    dialog.EndDialog(0);
}
