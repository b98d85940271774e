// The settings sheet's controls on real windows: the colour button drawn
// through its dialog and choosing its colour, the striped list's rows, and
// the sheet's close check with its message boxes, run modally as the
// program runs it.
#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/platform_win.h"
#include "framework/dialog_win.h"
#include "res/page1_background_ids.h"
#include "res/page4_folders_ids.h"
#include "res/resource.h"
#include "settings_ui/sheet_win.h"
#include "support/gdiplus_test_win.h"
#include "widgets/color_button_win.h"
#include "widgets/striped_list_win.h"

namespace {

using corvtest::Rgb;

// A 32-bit memory bitmap to draw into and read back.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        const RECT all{0, 0, width, height};
        FillRect(dc_, &all, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    Rgb At(int x, int y) const {
        GdiFlush();
        const auto* p = static_cast<const uint8_t*>(bits_) + (y * width_ + x) * 4;
        return Rgb{p[2], p[1], p[0]};
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
};

Rgb FromColorRef(COLORREF c) {
    return Rgb{GetRValue(c), GetGValue(c), GetBValue(c)};
}

// A page template made as a modeless child dialog of a hidden pop-up.
class PageHost : public corv::CDialog {
public:
    PageHost(UINT templateId, HWND parent) : CDialog(templateId, parent) {}
};

class SettingsControlsTest : public corvtest::GdiplusTest {
protected:
    void SetUp() override {
        GdiplusTest::SetUp();
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&controls);
        popup_ = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 600, 400, nullptr, nullptr,
                                 GetModuleHandleW(nullptr), nullptr);
        ASSERT_NE(popup_, nullptr);
    }
    void TearDown() override { DestroyWindow(popup_); }
    HWND popup_ = nullptr;
};

}  // namespace

// The button becomes owner-drawn when bound, and draws what its dialog hands
// back: frames, swatch (or the shadow colour when disabled), mark, triangle.
TEST_F(SettingsControlsTest, ColourButtonDrawsThroughItsDialog) {
    PageHost page(IDD_PAGE_BACKGROUND, popup_);
    ASSERT_TRUE(page.Create());
    corv::CColorButton button;
    ASSERT_TRUE(page.BindControl(button, IDC_BG_COLOR_BUTTON));
    EXPECT_EQ(button.GetStyle() & BS_TYPEMASK, BS_OWNERDRAW);
    button.SetColor(RGB(10, 200, 30));

    for (bool disabled : {false, true}) {
        SCOPED_TRACE(disabled ? "disabled" : "enabled");
        Canvas canvas(40, 24);
        DRAWITEMSTRUCT item{};
        item.CtlType = ODT_BUTTON;
        item.CtlID = IDC_BG_COLOR_BUTTON;
        item.itemState = disabled ? ODS_DISABLED : 0;
        item.hwndItem = button.Handle();
        item.hDC = canvas.Dc();
        item.rcItem = RECT{0, 0, 40, 24};
        EXPECT_EQ(page.Send(WM_DRAWITEM, IDC_BG_COLOR_BUTTON, reinterpret_cast<LPARAM>(&item)),
                  TRUE);
        const Rgb white{255, 255, 255}, black{0, 0, 0};
        const Rgb face = FromColorRef(GetSysColor(COLOR_BTNFACE));
        const Rgb swatch = disabled ? FromColorRef(GetSysColor(COLOR_BTNSHADOW)) : Rgb{10, 200, 30};
        EXPECT_TRUE(corvtest::IsNear(canvas.At(0, 0), white, 0));
        EXPECT_TRUE(corvtest::IsNear(canvas.At(39, 23), black, 0));
        EXPECT_TRUE(corvtest::IsNear(canvas.At(2, 2), black, 0));     // sunken frame
        EXPECT_TRUE(corvtest::IsNear(canvas.At(10, 10), swatch, 0));  // swatch
        EXPECT_TRUE(corvtest::IsNear(canvas.At(26, 15), white, 0));   // the mark's edge
        EXPECT_TRUE(corvtest::IsNear(canvas.At(28, 17), face, 0));    // the mark's face
        // The triangle: rows 5, 3 and 1 pixels wide at y 18, 19, 20.
        const int rows[3][3] = {{18, 30, 5}, {19, 31, 3}, {20, 32, 1}};
        for (const auto& row : rows) {
            EXPECT_TRUE(corvtest::IsNear(canvas.At(row[1] - 1, row[0]), face, 0)) << row[0];
            for (int x = row[1]; x < row[1] + row[2]; ++x)
                EXPECT_TRUE(corvtest::IsNear(canvas.At(x, row[0]), black, 0)) << x << "," << row[0];
            EXPECT_TRUE(corvtest::IsNear(canvas.At(row[1] + row[2], row[0]), face, 0)) << row[0];
        }
    }
    page.EndDialog(0);
}

// A click opens the chooser at the button's colour, owned by its dialog; a
// confirmed colour is stored, shown and painted; a cancel or a button that
// is not active changes nothing.
TEST_F(SettingsControlsTest, ColourButtonChoosesStoresAndRepaintsItself) {
    ShowWindow(popup_, SW_SHOWNA);
    PageHost page(IDD_PAGE_BACKGROUND, popup_);
    ASSERT_TRUE(page.Create());
    page.Show(SW_SHOWNA);
    corv::CColorButton button;
    ASSERT_TRUE(page.BindControl(button, IDC_BG_COLOR_BUTTON));
    button.SetColor(RGB(1, 2, 3));

    std::vector<COLORREF> offered;
    std::vector<HWND> owners;
    bool confirm = true;
    button.SetChooser([&](HWND owner, COLORREF& colour) {
        owners.push_back(owner);
        offered.push_back(colour);
        if (confirm) colour = RGB(90, 80, 70);
        return confirm;
    });
    std::vector<COLORREF> stored;
    bool active = true;
    button.SetStore([&](COLORREF colour) { stored.push_back(colour); }, [&] { return active; });
    const auto click = [&] {
        ValidateRect(button.Handle(), nullptr);
        page.Send(WM_COMMAND, MAKEWPARAM(IDC_BG_COLOR_BUTTON, BN_CLICKED),
                  reinterpret_cast<LPARAM>(button.Handle()));
        return GetUpdateRect(button.Handle(), nullptr, FALSE) != FALSE;  // repainted
    };

    EXPECT_TRUE(click());
    EXPECT_EQ(owners, std::vector<HWND>{page.Handle()});
    EXPECT_EQ(offered, std::vector<COLORREF>{RGB(1, 2, 3)});
    EXPECT_EQ(stored, std::vector<COLORREF>{RGB(90, 80, 70)});
    EXPECT_EQ(button.GetColor(), RGB(90, 80, 70));

    confirm = false;
    EXPECT_FALSE(click());
    EXPECT_EQ(offered.size(), 2u);
    EXPECT_EQ(offered[1], RGB(90, 80, 70));  // from the colour shown
    EXPECT_EQ(stored.size(), 1u);

    active = false;
    confirm = true;
    EXPECT_FALSE(click());
    EXPECT_EQ(offered.size(), 2u);  // the chooser did not open
    EXPECT_EQ(stored.size(), 1u);
    EXPECT_EQ(button.GetColor(), RGB(90, 80, 70));
    page.EndDialog(0);
}

// Odd rows in crimson on light grey, even rows as the system draws them;
// the columns come from one header text.
TEST_F(SettingsControlsTest, StripedListRows) {
    PageHost page(IDD_PAGE_FOLDERS, popup_);
    ASSERT_TRUE(page.Create());
    corv::CStripedListCtrl list;
    ASSERT_TRUE(page.BindControl(list, IDC_FOLDER_LIST));
    EXPECT_FALSE(list.InsertColumns(L",,", L","));
    const int widths[] = {120, 50};
    const int formats[] = {LVCFMT_LEFT, LVCFMT_RIGHT};
    ASSERT_TRUE(list.InsertColumns(L"path,n", L",", widths, formats));
    EXPECT_EQ(list.GetColumnWidth(1), 50);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(list.AppendRow({L"WWWWWWWW", std::to_wstring(i)}), i);
    EXPECT_EQ(list.GetItemText(3, 1), L"3");

    const RECT client = list.GetClientRect();
    Canvas canvas(client.right, client.bottom);
    list.Send(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.Dc()), PRF_CLIENT | PRF_ERASEBKGND);
    const Rgb stripe{240, 240, 235};
    const Rgb window = FromColorRef(GetSysColor(COLOR_WINDOW));
    for (int row = 0; row < 5; ++row) {
        RECT bounds{};
        bounds.left = LVIR_LABEL;
        ASSERT_TRUE(list.Send(LVM_GETITEMRECT, static_cast<WPARAM>(row),
                              reinterpret_cast<LPARAM>(&bounds)));
        const int y = (bounds.top + bounds.bottom) / 2;
        // Behind the text, past its last letter.
        EXPECT_TRUE(corvtest::IsNear(canvas.At(bounds.right - 3, y), row % 2 ? stripe : window, 0))
            << "row " << row;
        bool crimson = false;
        for (int x = bounds.left; x < bounds.right && !crimson; ++x)
            for (int dy = -4; dy <= 4 && !crimson; ++dy) {
                const Rgb p = canvas.At(x, y + dy);
                crimson = p.r > 150 && p.g < 120 && p.b < 150 && p.r - p.g > 80;
            }
        EXPECT_EQ(crimson, row % 2 == 1) << "row " << row;
    }
    page.EndDialog(0);
}

// --- the sheet's close check, run modally ---------------------------------------

namespace {

class FakeHost : public corv::SheetHost {
public:
    explicit FakeHost(HWND window) : window_(window) {}
    corv::AppState& State() override { return state; }
    corv::GdiplusImaging& PreviewImaging() override { return imaging; }
    corv::FileSystem& Files() override { return files; }
    void ScanStep() override {}
    HWND HostWindow() const override { return window_; }
    void SetTrayTip(const std::string&) override {}
    void SetTrayIcon(UINT) override {}
    std::string TrayAddressText() override { return std::string(); }
    void FollowDateSettings() override {}

    corv::AppState state;
    corv::GdiplusImaging imaging;
    corv::Win32FileSystem files;

private:
    HWND window_;
};

// One close attempt: the fields' texts before it, and what it should show.
struct Attempt {
    std::wstring interval, size, frame;
    std::wstring message;  // empty: the sheet closes
    int page;
};

struct CloseRun {
    corv::CSheetPage* sheet = nullptr;
    std::vector<Attempt> attempts;
    size_t next = 0;
    bool pagesMade = false;
    bool waitingForBox = false;
    std::vector<std::wstring> messages;  // caption | text of each box
    std::vector<int> pages;              // the page on show when each box came
    std::vector<std::wstring> sizeAfter;
    std::vector<bool> focusOnField;
    int ticks = 0;
};

CloseRun* run = nullptr;

HWND PageWindow(int index) {
    corv::CPropertyPage* page = run->sheet->GetPage(index);
    return page != nullptr ? page->Handle() : nullptr;
}

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    if (IsWindowVisible(window) && std::wstring(name) == L"#32770" &&
        GetWindow(window, GW_OWNER) == run->sheet->Handle()) {
        *reinterpret_cast<HWND*>(param) = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK BoxText(HWND child, LPARAM param) {
    wchar_t text[512] = {};
    if (GetDlgCtrlID(child) == 0xFFFF && GetWindowTextW(child, text, 512) > 0)
        *reinterpret_cast<std::wstring*>(param) += text;
    return TRUE;
}

void CALLBACK Drive(HWND, UINT, UINT_PTR, DWORD) {
    if (run == nullptr || !run->sheet->IsWindow() || ++run->ticks > 400) return;
    corv::CSheetPage& sheet = *run->sheet;
    if (!run->pagesMade) {
        // The picture and effects pages shown once, so that their windows
        // and typed fields exist.
        sheet.SetActivePage(corv::kPicturePageIndex);
        sheet.SetActivePage(corv::kEffectsPageIndex);
        if (PageWindow(1) == nullptr || PageWindow(2) == nullptr) return;
        SetDlgItemTextW(PageWindow(1), corv::kClearCountField, L"4");
        sheet.SetActivePage(0);
        run->pagesMade = true;
        return;
    }
    if (run->waitingForBox) {
        HWND box = nullptr;
        EnumThreadWindows(GetCurrentThreadId(), FindBox, reinterpret_cast<LPARAM>(&box));
        if (box == nullptr) return;
        wchar_t caption[128] = {};
        GetWindowTextW(box, caption, 128);
        std::wstring text;
        EnumChildWindows(box, BoxText, reinterpret_cast<LPARAM>(&text));
        run->messages.push_back(std::wstring(caption) + L"|" + text);
        run->pages.push_back(sheet.GetActiveIndex());
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        run->waitingForBox = false;
        return;
    }
    if (run->next > 0 && run->sizeAfter.size() < run->next) {
        // After the box of the attempt before: the size field and the focus.
        wchar_t size[32] = {};
        GetDlgItemTextW(PageWindow(1), corv::kSizeField, size, 32);
        run->sizeAfter.push_back(size);
        const Attempt& last = run->attempts[run->next - 1];
        const int field = last.page == 2 ? corv::kFrameSizeField : corv::kSizeField;
        run->focusOnField.push_back(GetFocus() == GetDlgItem(PageWindow(last.page), field));
    }
    if (run->next >= run->attempts.size()) return;
    const Attempt& attempt = run->attempts[run->next++];
    SetDlgItemTextW(PageWindow(1), corv::kIntervalField, attempt.interval.c_str());
    SetDlgItemTextW(PageWindow(1), corv::kSizeField, attempt.size.c_str());
    SetDlgItemTextW(PageWindow(2), corv::kFrameSizeField, attempt.frame.c_str());
    run->waitingForBox = !attempt.message.empty();
    sheet.Post(WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace

TEST_F(SettingsControlsTest, SheetCloseCheckShowsItsMessagesOnTheirPages) {
    FakeHost host(popup_);
    host.state.screenWidth = 1024;
    host.state.screenHeight = 768;
    host.state.settings.min_sec = 1000;
    // The picture page's fields are enabled only with a picture drawn, and
    // a disabled field cannot take the focus.
    host.state.settings.isforeimg = true;
    // With the frame on, the effects page's thickness field is enabled and
    // can take the focus.
    host.state.settings.isframe = true;
    corv::CSheetPage sheet(host, 3);
    sheet.settings = &host.state.settings;
    const std::wstring caption = L"Corvalendrine설정|";
    CloseRun driven;
    driven.sheet = &sheet;
    driven.attempts = {
        {L"", L"400", L"7", caption + L"타임을 넣어주세요!", 1},
        {L"2", L"400", L"7", caption + L"변경타임 간격은 최소 3초이상입니다!", 1},
        {L"15", L"761", L"7", caption + L"이미지크기를 최소:200이상, 최대:760이하로 설정바랍니다!",
         1},
        {L"15", L"500", L"51", caption + L"프레임Size 지정이 잘못됐습니다!", 2},
        {L"15", L"500", L"50", L"", 2},
    };
    run = &driven;
    const UINT_PTR timer = SetTimer(nullptr, 0, 50, Drive);
    sheet.DoModal();
    KillTimer(nullptr, timer);
    run = nullptr;

    ASSERT_EQ(driven.messages.size(), 4u);
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(driven.messages[i], driven.attempts[i].message) << i;
        EXPECT_EQ(driven.pages[i], driven.attempts[i].page) << i;
    }
    ASSERT_GE(driven.sizeAfter.size(), 3u);
    EXPECT_EQ(driven.sizeAfter[2], L"760");  // the refused size is reset
    EXPECT_TRUE(driven.focusOnField[2]);
    EXPECT_TRUE(driven.focusOnField[3]);
    EXPECT_EQ(host.state.settings.changetime, 15);
    EXPECT_EQ(host.state.settings.picmaxsize, 500);
    EXPECT_EQ(host.state.settings.piccleartotalcnt, 4);
    EXPECT_EQ(host.state.settings.framesize, 50);
    EXPECT_EQ(sheet.ClosedOnPage(), 2);
}
