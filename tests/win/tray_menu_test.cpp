// CTrayMenu: turning menu 129 into owner-drawn items, measuring them with
// the screen's real font, and painting banner, highlight, separators and
// the pause mark into a real bitmap; and a real pop-up under the window
// system, with an owner that forwards the owner-draw messages.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"
#include "widgets/tray_menu_logic.h"
#include "widgets/tray_menu_win.h"

namespace {

using corv::CTrayMenu;

constexpr COLORREF kGrey = RGB(128, 128, 128);

// Menu 129's first pop-up, owned by the test; the CTrayMenu borrows it.
class TrayMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        resource = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_TRAYMENU));
        ASSERT_NE(nullptr, resource);
        popup = GetSubMenu(resource, 0);
        ASSERT_NE(nullptr, popup);
        menu.Attach(popup);
    }
    void TearDown() override {
        menu.Detach();
        DestroyMenu(resource);
    }

    MENUITEMINFOW Info(int position) const {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_DATA;
        GetMenuItemInfoW(popup, static_cast<UINT>(position), TRUE, &info);
        return info;
    }
    ULONG_PTR Data(int position) const { return Info(position).dwItemData; }

    HMENU resource = nullptr;
    HMENU popup = nullptr;
    CTrayMenu menu;
};

int AverageCharWidth() {
    HDC screen = GetDC(nullptr);
    TEXTMETRICW metrics{};
    GetTextMetricsW(screen, &metrics);
    ReleaseDC(nullptr, screen);
    return metrics.tmAveCharWidth;
}

TEST_F(TrayMenuTest, OwnerDrawKeepsIdsAndTextsAndMarksSeparators) {
    std::vector<UINT> ids;
    std::vector<std::wstring> texts;
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        wchar_t text[128] = {};
        GetMenuStringW(popup, static_cast<UINT>(i), text, 128, MF_BYPOSITION);
        ids.push_back(GetMenuItemID(popup, i));
        texts.push_back(text);
    }
    menu.MakeOwnerDraw();
    ASSERT_EQ(14, menu.ItemCount());
    ASSERT_EQ(14, GetMenuItemCount(popup));
    for (int i = 0; i < 14; ++i) {
        const MENUITEMINFOW info = Info(i);
        EXPECT_NE(0u, info.fType & MFT_OWNERDRAW) << "position " << i;
        EXPECT_EQ(ids[i], info.wID) << "position " << i;
        EXPECT_EQ(ids[i] == 0, (info.fType & MFT_SEPARATOR) != 0) << "position " << i;
        EXPECT_NE(0u, info.dwItemData) << "position " << i;
        EXPECT_EQ(texts[i], menu.ItemText(i)) << "position " << i;
    }
    EXPECT_EQ(L"다음 이미지(->)", menu.ItemText(0));
    EXPECT_EQ(L"", menu.ItemText(2));
    EXPECT_EQ(L"종료", menu.ItemText(13));
}

TEST_F(TrayMenuTest, SetItemTextReplacesOneRecordOnly) {
    menu.MakeOwnerDraw();
    menu.SetItemText(6, L"바탕아이콘 숨김");
    menu.SetItemText(-1, L"x");
    menu.SetItemText(14, L"x");
    EXPECT_EQ(L"바탕아이콘 숨김", menu.ItemText(6));
    EXPECT_EQ(L"화면 정리", menu.ItemText(7));
    EXPECT_EQ(L"연결프로그램 실행", menu.ItemText(4));
    // A second call leaves the records and the menu as they are.
    const ULONG_PTR before = Data(6);
    menu.MakeOwnerDraw();
    EXPECT_EQ(14, menu.ItemCount());
    EXPECT_EQ(before, Data(6));
    EXPECT_EQ(L"바탕아이콘 숨김", menu.ItemText(6));
}

TEST_F(TrayMenuTest, PreparedForShowingWithPauseMarkAndIconsText) {
    corv::PrepareTrayMenu(menu, true, false);
    EXPECT_NE(0u, GetMenuState(popup, ID_PAUSE, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(L"바탕아이콘 숨김", menu.ItemText(6));
    EXPECT_NE(0u, Info(8).fType & MFT_OWNERDRAW);
}

TEST_F(TrayMenuTest, PreparedUnpausedWithHiddenIconsKeepsTheResourceText) {
    corv::PrepareTrayMenu(menu, false, true);
    EXPECT_EQ(0u, GetMenuState(popup, ID_PAUSE, MF_BYCOMMAND) & MF_CHECKED);
    EXPECT_EQ(L"바탕 아이콘 보임", menu.ItemText(6));
}

TEST_F(TrayMenuTest, MeasuresBytesTimesTheSystemFontsAverageWidth) {
    menu.MakeOwnerDraw();
    const int average = AverageCharWidth();
    ASSERT_GT(average, 0);

    MEASUREITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemID = ID_NEXT_PICTURE;
    item.itemData = Data(0);
    menu.MeasureItem(item);
    // "다음 이미지(->)": 4 Korean characters of 2 bytes, 7 single bytes.
    EXPECT_EQ(15, corv::KoreanByteCount(menu.ItemText(0)));
    EXPECT_EQ(static_cast<UINT>(15 * average + 10), item.itemWidth);
    EXPECT_EQ(22u, item.itemHeight);

    MEASUREITEMSTRUCT separator{};
    separator.CtlType = ODT_MENU;
    separator.itemData = Data(2);
    menu.MeasureItem(separator);
    EXPECT_EQ(4u, separator.itemHeight);
    EXPECT_EQ(10u, separator.itemWidth);

    // The replaced text is what is measured: "바탕아이콘 숨김" is 7 Korean
    // characters and a blank.
    menu.SetItemText(6, L"바탕아이콘 숨김");
    MEASUREITEMSTRUCT icons{};
    icons.CtlType = ODT_MENU;
    icons.itemData = Data(6);
    menu.MeasureItem(icons);
    EXPECT_EQ(15, corv::KoreanByteCount(menu.ItemText(6)));
    EXPECT_EQ(static_cast<UINT>(15 * average + 10), icons.itemWidth);

    // Another menu's item is left alone.
    MEASUREITEMSTRUCT other{};
    other.itemData = 12345;
    other.itemWidth = 7;
    other.itemHeight = 9;
    menu.MeasureItem(other);
    EXPECT_EQ(7u, other.itemWidth);
    EXPECT_EQ(9u, other.itemHeight);
}

// --- painting into a bitmap ---------------------------------------------------

// A 32-bit top-down bitmap selected into a memory DC, whose pixels can be
// read directly.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        old_ = SelectObject(dc, bitmap_);
        Fill(RECT{0, 0, width, height}, fill);
    }
    ~Canvas() {
        SelectObject(dc, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc);
    }
    void Fill(const RECT& rect, COLORREF color) {
        HBRUSH brush = CreateSolidBrush(color);
        FillRect(dc, &rect, brush);
        DeleteObject(brush);
        GdiFlush();
    }
    // The pixel as 0x00BBGGRR, like a COLORREF.
    COLORREF At(int x, int y) const {
        GdiFlush();
        const uint32_t p = bits_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(const RECT& rect, COLORREF color, bool equal) const {
        int n = 0;
        for (int y = rect.top; y < rect.bottom; ++y)
            for (int x = rect.left; x < rect.right; ++x)
                if ((At(x, y) == color) == equal) ++n;
        return n;
    }
    int Width() const { return width_; }
    int Height() const { return height_; }

    HDC dc = nullptr;

private:
    int width_;
    int height_;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    uint32_t* bits_ = nullptr;
};

DRAWITEMSTRUCT Draw(HDC dc, UINT id, ULONG_PTR data, RECT rect, UINT action, UINT state) {
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_MENU;
    item.itemID = id;
    item.itemAction = action;
    item.itemState = state;
    item.hDC = dc;
    item.rcItem = rect;
    item.itemData = data;
    return item;
}

COLORREF PaletteAtRow(int rowFromBottom, int height) {
    const auto palette = corv::GradientPalette(corv::kBannerBottomColor, corv::kBannerTopColor);
    return palette[static_cast<size_t>(corv::GradientEntryForRow(rowFromBottom, height))];
}

TEST_F(TrayMenuTest, FirstItemPaintsTheBannerOverTheClipBox) {
    menu.MakeOwnerDraw();
    Canvas canvas(160, 322, kGrey);
    menu.DrawItem(
        Draw(canvas.dc, ID_NEXT_PICTURE, Data(0), RECT{0, 0, 160, 22}, ODA_DRAWENTIRE, 0));

    const int h = canvas.Height();
    EXPECT_EQ(RGB(70, 0, 35), canvas.At(21, h - 1));      // bottom row: the first colour
    EXPECT_EQ(PaletteAtRow(h - 1, h), canvas.At(21, 0));  // top row
    EXPECT_EQ(RGB(255, 21, 135), canvas.At(21, 0));
    EXPECT_EQ(PaletteAtRow(h - 1 - 160, h), canvas.At(21, 160));
    // White right of the strip, but not on the top row nor the last 4 columns.
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(23, 200));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(155, h - 1));
    EXPECT_EQ(PaletteAtRow(h - 1, h), canvas.At(100, 0));
    EXPECT_EQ(PaletteAtRow(h - 1 - 100, h), canvas.At(156, 100));
    EXPECT_NE(RGB(255, 255, 255), canvas.At(22, 100));
    // The caption: white text inside the strip, on the lower part.
    EXPECT_GT(canvas.Count(RECT{0, 100, 23, h}, RGB(255, 255, 255), true), 30);
    // The item's own text, in the DC's colour (black) right of x = 42.
    EXPECT_GT(canvas.Count(RECT{42, 2, 154, 21}, RGB(0, 0, 0), true), 10);
    EXPECT_EQ(0, canvas.Count(RECT{24, 2, 42, 21}, RGB(255, 255, 255), false));
}

TEST_F(TrayMenuTest, HighlightFollowsTheSelection) {
    menu.MakeOwnerDraw();
    Canvas canvas(160, 60, RGB(255, 255, 255));
    const RECT r{0, 22, 160, 44};
    const ULONG_PTR data = Data(1);
    // The system hands a selected item a light text colour.
    SetTextColor(canvas.dc, RGB(255, 255, 255));
    menu.DrawItem(Draw(canvas.dc, ID_PREVIOUS_PICTURE, data, r, ODA_SELECT, ODS_SELECTED));
    const COLORREF outline = RGB(10, 36, 106);
    const COLORREF fill = RGB(230, 202, 213);
    // Outline C = (24, 23, 155, 44), fill D = (25, 24, 154, 43).
    EXPECT_EQ(outline, canvas.At(24, 30));
    EXPECT_EQ(outline, canvas.At(100, 23));
    EXPECT_EQ(outline, canvas.At(154, 30));
    EXPECT_EQ(outline, canvas.At(100, 43));
    EXPECT_EQ(fill, canvas.At(25, 24));
    EXPECT_EQ(fill, canvas.At(153, 42));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(155, 30));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(23, 30));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(100, 22));
    // The text stays readable on the light fill: dark, never white.
    EXPECT_EQ(0, canvas.Count(RECT{42, 24, 154, 43}, RGB(255, 255, 255), true));
    EXPECT_GT(canvas.Count(RECT{42, 24, 154, 43}, RGB(0, 0, 0), true), 10);
    EXPECT_EQ(RGB(255, 255, 255), GetTextColor(canvas.dc));  // given back

    // A focus change alone leaves the highlight.
    menu.DrawItem(Draw(canvas.dc, ID_PREVIOUS_PICTURE, data, r, ODA_FOCUS, 0));
    EXPECT_EQ(outline, canvas.At(24, 30));
    // Losing the selection paints C white again.
    menu.DrawItem(Draw(canvas.dc, ID_PREVIOUS_PICTURE, data, r, ODA_SELECT, 0));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(24, 30));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(153, 42));
    EXPECT_EQ(0, canvas.Count(RECT{24, 23, 155, 44}, outline, true));
}

TEST_F(TrayMenuTest, SeparatorIsOneLineTwoPixelsBelowItsTop) {
    menu.MakeOwnerDraw();
    Canvas canvas(160, 10, RGB(255, 255, 255));
    // The line shows even when the system leaves no pen in the DC.
    SelectObject(canvas.dc, GetStockObject(NULL_PEN));
    menu.DrawItem(Draw(canvas.dc, 0, Data(2), RECT{0, 4, 160, 8}, ODA_DRAWENTIRE, 0));
    // From T.left = 42 to T.right - 3 = 151, the end excluded.
    EXPECT_EQ(0, canvas.Count(RECT{42, 6, 151, 7}, RGB(0, 0, 0), false));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(41, 6));
    EXPECT_EQ(RGB(255, 255, 255), canvas.At(151, 6));
    EXPECT_EQ(109, canvas.Count(RECT{0, 0, 160, 10}, RGB(255, 255, 255), false));
}

TEST_F(TrayMenuTest, PauseMarkOnlyWhileChecked) {
    menu.MakeOwnerDraw();
    const RECT r{0, 0, 160, 22};
    const RECT mark{23, 3, 39, 19};
    Canvas unchecked(160, 22, RGB(255, 255, 255));
    menu.DrawItem(Draw(unchecked.dc, ID_PAUSE, Data(8), r, ODA_DRAWENTIRE, 0));
    EXPECT_EQ(0, unchecked.Count(mark, RGB(255, 255, 255), false));

    Canvas checked(160, 22, RGB(255, 255, 255));
    menu.DrawItem(Draw(checked.dc, ID_PAUSE, Data(8), r, ODA_DRAWENTIRE, ODS_CHECKED));
    EXPECT_GT(checked.Count(mark, RGB(255, 255, 255), false), 20);
    // Nothing of the mark outside its 16 x 16 square left of the text.
    EXPECT_EQ(0, checked.Count(RECT{0, 0, 23, 22}, RGB(255, 255, 255), false));

    // Another item with a check state gets no mark.
    Canvas other(160, 22, RGB(255, 255, 255));
    menu.DrawItem(Draw(other.dc, ID_CLEAR_SCREEN, Data(7), r, ODA_DRAWENTIRE, ODS_CHECKED));
    EXPECT_EQ(0, other.Count(mark, RGB(255, 255, 255), false));
}

TEST(TrayMenu, WithoutTheFirstCommandThereIsNoBanner) {
    HMENU popup = CreatePopupMenu();
    AppendMenuW(popup, MF_STRING, 5, L"five");
    CTrayMenu menu;
    menu.Attach(popup);  // owned: destroyed with the object
    menu.MakeOwnerDraw();
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA;
    GetMenuItemInfoW(popup, 0, TRUE, &info);

    Canvas canvas(120, 60, kGrey);
    menu.DrawItem(Draw(canvas.dc, 5, info.dwItemData, RECT{0, 0, 120, 22}, ODA_DRAWENTIRE, 0));
    EXPECT_EQ(kGrey, canvas.At(5, 50));
    EXPECT_EQ(kGrey, canvas.At(60, 50));
    EXPECT_EQ(kGrey, canvas.At(30, 1));
    // A record it does not know draws nothing at all.
    Canvas untouched(120, 60, kGrey);
    menu.DrawItem(
        Draw(untouched.dc, ID_NEXT_PICTURE, 42, RECT{0, 0, 120, 22}, ODA_DRAWENTIRE, ODS_SELECTED));
    EXPECT_EQ(0, untouched.Count(RECT{0, 0, 120, 60}, kGrey, false));
}

TEST(TrayMenu, GradientBitmapRowsRunBottomToTop) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = corv::CreateGradientBitmap(screen, 3, 10, RGB(0, 0, 0), RGB(255, 0, 0));
    ASSERT_NE(nullptr, bitmap);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = 3;
    info.bmiHeader.biHeight = 10;  // bottom-up: row 0 of the buffer is the bottom
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    std::vector<uint32_t> pixels(30);
    ASSERT_EQ(10, GetDIBits(screen, bitmap, 0, 10, pixels.data(), &info, DIB_RGB_COLORS));
    for (int row = 0; row < 10; ++row) {
        // Red is the third byte of a DIB pixel.
        const uint32_t red = (pixels[static_cast<size_t>(row * 3)] >> 16) & 0xFF;
        EXPECT_EQ(static_cast<uint32_t>(corv::GradientEntryForRow(row, 10)), red) << row;
    }
    DeleteObject(bitmap);
    EXPECT_EQ(nullptr, corv::CreateGradientBitmap(screen, 0, 10, 0, 0));
    EXPECT_EQ(nullptr, corv::CreateGradientBitmap(screen, 10, -1, 0, 0));
    EXPECT_EQ(nullptr, corv::CreateGradientBitmap(screen, 100000, 100000, 0, 0));
    ReleaseDC(nullptr, screen);
}

// --- a real pop-up ------------------------------------------------------------

// An owner window that forwards the menu's owner-draw messages, as the main
// window does, and remembers them. When the menu first waits for input it
// selects the second item with two key presses; when it waits again it
// copies the menu's pixels and closes the menu.
struct Owner {
    CTrayMenu* menu = nullptr;
    std::vector<ULONG_PTR> measured;
    std::vector<DRAWITEMSTRUCT> drawn;
    int idle = 0;
    std::unique_ptr<Canvas> picture;

    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        auto* self = reinterpret_cast<Owner*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self != nullptr && message == WM_MEASUREITEM) {
            auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
            self->measured.push_back(item->itemData);
            self->menu->MeasureItem(*item);
            return TRUE;
        }
        if (self != nullptr && message == WM_DRAWITEM) {
            auto* item = reinterpret_cast<DRAWITEMSTRUCT*>(lParam);
            self->drawn.push_back(*item);
            self->menu->DrawItem(*item);
            return TRUE;
        }
        if (self != nullptr && message == WM_ENTERIDLE && wParam == MSGF_MENU) {
            self->OnIdle(reinterpret_cast<HWND>(lParam));
            return 0;
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }

    void OnIdle(HWND menuWindow) {
        ++idle;
        if (idle == 1 && menuWindow != nullptr) {
            PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 1);
            PostMessageW(menuWindow, WM_KEYDOWN, VK_DOWN, 1);
            return;
        }
        if (menuWindow != nullptr && picture == nullptr) {
            RECT r{};
            GetWindowRect(menuWindow, &r);
            picture = std::make_unique<Canvas>(r.right - r.left, r.bottom - r.top, kGrey);
            HDC dc = GetWindowDC(menuWindow);
            BitBlt(picture->dc, 0, 0, picture->Width(), picture->Height(), dc, 0, 0, SRCCOPY);
            ReleaseDC(menuWindow, dc);
        }
        EndMenu();
    }
};

// The first pixel of `color` in reading order, or (-1, -1).
POINT FindFirst(const Canvas& canvas, COLORREF color) {
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            if (canvas.At(x, y) == color) return POINT{x, y};
    return POINT{-1, -1};
}

TEST_F(TrayMenuTest, TheRealPopUpIsMeasuredAndPaintedByTheProgram) {
    corv::PrepareTrayMenu(menu, true, false);
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = Owner::Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"CorvTrayMenuOwner";
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, windowClass.lpszClassName, L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, window);
    Owner owner;
    owner.menu = &menu;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&owner));
    SetForegroundWindow(window);
    const BOOL chosen = TrackPopupMenu(popup, TPM_RETURNCMD, 100, 100, 0, window, nullptr);
    DestroyWindow(window);

    EXPECT_EQ(0, chosen);  // ended without a choice
    // Every item, the separators too, is measured by the program.
    ASSERT_EQ(14u, owner.measured.size());
    for (int i = 0; i < 14; ++i) EXPECT_EQ(Data(i), owner.measured[static_cast<size_t>(i)]);
    ASSERT_FALSE(owner.drawn.empty());
    EXPECT_EQ(static_cast<UINT>(ID_NEXT_PICTURE), owner.drawn.front().itemID);
    EXPECT_NE(0u, owner.drawn.front().itemAction & ODA_DRAWENTIRE);
    int separators = 0;
    for (const DRAWITEMSTRUCT& item : owner.drawn)
        if (item.itemID == 0) ++separators;
    EXPECT_GE(separators, 4);

    // The menu as it was on the screen. The painted area starts where the
    // banner's last colour starts (its top row) and ends on the row whose
    // strip has the first colour; the frame around it is the system's.
    ASSERT_NE(nullptr, owner.picture);
    const Canvas& shot = *owner.picture;
    const POINT top = FindFirst(shot, RGB(255, 21, 135));
    const POINT bottom = FindFirst(shot, RGB(70, 0, 35));
    ASSERT_GE(top.x, 0);
    ASSERT_GE(bottom.x, 0);
    const int l = top.x;
    const int t = top.y;
    EXPECT_EQ(l, bottom.x);
    EXPECT_EQ(t + 235, bottom.y);  // 10 items of 22 pixels, 4 separators of 4
    EXPECT_EQ(RGB(255, 255, 255), shot.At(l + 30, t + 10));
    // The second item is selected: outline and fill.
    EXPECT_EQ(RGB(10, 36, 106), shot.At(l + 24, t + 30));
    EXPECT_EQ(RGB(230, 202, 213), shot.At(l + 100, t + 42));
    EXPECT_EQ(0, shot.Count(RECT{l + 24, t + 1, l + 120, t + 22}, RGB(230, 202, 213), true));
    // The separator under it: a line at row 46, from x = 42.
    EXPECT_EQ(RGB(0, 0, 0), shot.At(l + 42, t + 46));
    EXPECT_EQ(RGB(0, 0, 0), shot.At(l + 100, t + 46));
    // The pause item at row 140 carries the mark; the item above does not.
    EXPECT_GT(shot.Count(RECT{l + 23, t + 143, l + 39, t + 159}, RGB(255, 255, 255), false), 20);
    EXPECT_EQ(0, shot.Count(RECT{l + 23, t + 121, l + 39, t + 137}, RGB(255, 255, 255), false));
}

}  // namespace
