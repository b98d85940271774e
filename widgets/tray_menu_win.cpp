#include "widgets/tray_menu_win.h"

#include <algorithm>

#include "base/text_win.h"
#include "engine/dpi_win.h"
#include "framework/app_win.h"
#include "res/resource.h"
#include "widgets/tray_menu_logic.h"

namespace corv {

namespace {

constexpr int kMaxItemText = 1024;
constexpr int kDesktopIconsPosition = 6;
constexpr UINT kKoreanCodePage = 949;
constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kDarkText = RGB(0, 0, 0);
constexpr COLORREF kGreyText = RGB(128, 128, 128);

// The text in code page 949 (the system's code page where 949 is missing).
std::string Cp949Text(const std::wstring& text) {
    if (text.empty()) return std::string();
    for (UINT codePage : {kKoreanCodePage, static_cast<UINT>(CP_ACP)}) {
        std::string bytes;
        if (CodePageText(text, codePage, bytes)) return bytes;
    }
    return std::string(text.size(), '?');
}

// 0x00BBGGRR as a 32-bit DIB pixel (blue in the low byte).
uint32_t DibPixel(uint32_t color) {
    return ((color & 0xFF) << 16) | (color & 0xFF00) | ((color >> 16) & 0xFF);
}

RECT ToRect(const MenuBox& box) {
    return RECT{box.left, box.top, box.right, box.bottom};
}

const TrayMenuMetrics& Metrics() {
    static const TrayMenuMetrics metrics = TrayMenuMetricsFor(SystemDpi());
    return metrics;
}

// The item's text as the menu draws it: in the menu font the system draws
// menu items with.
DrawnText MeasureDrawnText(HDC dc, const std::wstring& text) {
    DrawnText drawn;
    NONCLIENTMETRICSW nonClient{};
    nonClient.cbSize = sizeof nonClient;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof nonClient, &nonClient, 0))
        return drawn;
    HFONT font = CreateFontIndirectW(&nonClient.lfMenuFont);
    if (font == nullptr) return drawn;
    HGDIOBJ old = SelectObject(dc, font);
    SIZE extent{};
    if (GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent)) {
        drawn.width = extent.cx;
        drawn.height = extent.cy;
    }
    TEXTMETRICW metrics{};
    if (GetTextMetricsW(dc, &metrics)) drawn.systemPad = 2 * metrics.tmAveCharWidth;
    SelectObject(dc, old);
    DeleteObject(font);
    return drawn;
}

void FillColor(HDC dc, const RECT& rect, COLORREF color) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) return;
    HBRUSH brush = CreateSolidBrush(color);
    if (brush == nullptr) return;
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
}

}  // namespace

int KoreanByteCount(const std::wstring& text) {
    return static_cast<int>(Cp949Text(text).size());
}

HBITMAP CreateGradientBitmap(HDC dc, int width, int height, uint32_t bottomColor,
                             uint32_t topColor) {
    // A menu is never larger than a few screens; anything past that is a
    // broken clip box, not a banner.
    constexpr int kLimit = 16384;
    if (width <= 0 || height <= 0 || width > kLimit || height > kLimit) return nullptr;
    const auto palette = GradientPalette(bottomColor, topColor);
    // Bottom-up: the first row in memory is the bottom row.
    std::vector<uint32_t> pixels(static_cast<size_t>(width) * static_cast<size_t>(height));
    for (int row = 0; row < height; ++row) {
        const uint32_t pixel =
            DibPixel(palette[static_cast<size_t>(GradientEntryForRow(row, height))]);
        auto first = pixels.begin() + static_cast<std::ptrdiff_t>(row) * width;
        std::fill(first, first + width, pixel);
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBitmap(dc, &info.bmiHeader, CBM_INIT, pixels.data(), &info, DIB_RGB_COLORS);
}

CTrayMenu::~CTrayMenu() {
    items_.clear();
    if (menu_ != nullptr) DestroyMenu(menu_);
}

void CTrayMenu::MakeOwnerDraw() {
    if (menu_ == nullptr || !items_.empty()) return;
    const int count = GetMenuItemCount(menu_);
    for (int position = 0; position < count; ++position) {
        wchar_t text[kMaxItemText + 1] = {};
        GetMenuStringW(menu_, static_cast<UINT>(position), text, kMaxItemText + 1, MF_BYPOSITION);
        items_.push_back(std::make_unique<TrayMenuItem>(text));
        const TrayMenuItem* record = items_.back().get();

        const UINT id = GetMenuItemID(menu_, position);
        if (id == static_cast<UINT>(-1)) continue;  // a sub-menu keeps its own look
        // Grey and checked states survive the change.
        const UINT kept = GetMenuState(menu_, static_cast<UINT>(position), MF_BYPOSITION) &
                          (MF_GRAYED | MF_DISABLED | MF_CHECKED);
        const UINT flags = MF_BYPOSITION | MF_OWNERDRAW | kept | (id == 0 ? MF_SEPARATOR : 0);
        ModifyMenuW(menu_, static_cast<UINT>(position), flags, id,
                    reinterpret_cast<LPCWSTR>(record));
    }
}

void CTrayMenu::SetItemText(int position, const std::wstring& text) {
    if (position < 0 || position >= ItemCount()) return;
    items_[static_cast<size_t>(position)]->text = text;
}

std::wstring CTrayMenu::ItemText(int position) const {
    if (position < 0 || position >= ItemCount()) return std::wstring();
    return items_[static_cast<size_t>(position)]->text;
}

const TrayMenuItem* CTrayMenu::Find(ULONG_PTR data) const {
    for (const auto& item : items_)
        if (reinterpret_cast<ULONG_PTR>(item.get()) == data) return item.get();
    return nullptr;
}

void PrepareTrayMenu(CTrayMenu& menu, bool paused, bool iconsHidden) {
    menu.MakeOwnerDraw();
    CheckMenuItem(menu.Handle(), ID_PAUSE, MF_BYCOMMAND | (paused ? MF_CHECKED : MF_UNCHECKED));
    if (!iconsHidden) menu.SetItemText(kDesktopIconsPosition, L"바탕아이콘 숨김");
}

// --- measuring and drawing ----------------------------------------------------

void CTrayMenu::MeasureItem(MEASUREITEMSTRUCT& item) {
    const TrayMenuItem* record = Find(item.itemData);
    if (record == nullptr) return;
    // The screen's drawing surface with no font chosen: the system font.
    TEXTMETRICW metrics{};
    DrawnText drawn;
    HDC screen = GetDC(nullptr);
    if (screen != nullptr) {
        GetTextMetricsW(screen, &metrics);
        if (!record->text.empty()) drawn = MeasureDrawnText(screen, record->text);
        ReleaseDC(nullptr, screen);
    }
    const MenuItemSize size =
        MeasureMenuItemAt(KoreanByteCount(record->text), metrics.tmAveCharWidth, drawn, Metrics());
    item.itemWidth = static_cast<UINT>(size.width);
    item.itemHeight = static_cast<UINT>(size.height);
}

void CTrayMenu::DrawItem(const DRAWITEMSTRUCT& item) {
    const TrayMenuItem* record = Find(item.itemData);
    HDC dc = item.hDC;
    if (record == nullptr || dc == nullptr) return;
    const RECT& r = item.rcItem;
    const TrayMenuMetrics& m = Metrics();
    const TrayItemLayout layout = LayoutTrayItem(MenuBox{r.left, r.top, r.right, r.bottom}, m);
    const bool whole = (item.itemAction & ODA_DRAWENTIRE) != 0;
    const bool selectionChanged = (item.itemAction & ODA_SELECT) != 0;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;

    if (whole && item.itemID == ID_NEXT_PICTURE) DrawBanner(dc);

    const RECT outline = ToRect(layout.outline);
    const RECT fill = ToRect(layout.fill);
    if (selected && (whole || selectionChanged)) {
        FillColor(dc, outline, kHighlightOutline);
        FillColor(dc, fill, kHighlightFill);
    } else if (!selected && selectionChanged) {
        FillColor(dc, outline, kWhite);
    }

    RECT text = ToRect(layout.text);
    if (!record->text.empty()) {
        // The items are always light (white, or the pink highlight), so the
        // text is dark whatever colour the system chose for menu text.
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const bool grey = (item.itemState & ODS_GRAYED) != 0;
        const COLORREF oldColor = SetTextColor(dc, grey ? kGreyText : kDarkText);
        DrawTextW(dc, record->text.c_str(), -1, &text, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
        SetTextColor(dc, oldColor);
        SetBkMode(dc, oldMode);
    } else {
        // Dark in a colour of its own, as thick as the scale makes a line:
        // some systems leave a null pen in the menu's DC.
        FillColor(dc, ToRect(layout.separator), kDarkText);
    }

    if (item.itemID == ID_PAUSE && (item.itemState & ODS_CHECKED) != 0) {
        const int side = m.markSize;
        HICON icon = static_cast<HICON>(LoadImageW(ResourceInstance(), MAKEINTRESOURCEW(IDI_PAUSE),
                                                   IMAGE_ICON, side, side, LR_SHARED));
        if (icon != nullptr)
            DrawIconEx(dc, layout.mark.left, layout.mark.top, icon, side, side, 0, nullptr,
                       DI_NORMAL);
    }
}

void CTrayMenu::DrawBanner(HDC dc) {
    RECT clip{};
    if (GetClipBox(dc, &clip) == ERROR) return;
    const TrayMenuMetrics& m = Metrics();
    const int width = clip.right - clip.left + m.bannerOverhang;
    const int height = clip.bottom - clip.top;

    HBITMAP gradient = CreateGradientBitmap(dc, width, height, kBannerBottomColor, kBannerTopColor);
    if (gradient != nullptr) {
        HDC memory = CreateCompatibleDC(dc);
        if (memory != nullptr) {
            HGDIOBJ old = SelectObject(memory, gradient);
            BitBlt(dc, clip.left, clip.top, width, height, memory, 0, 0, SRCCOPY);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
        DeleteObject(gradient);
    }

    HFONT font = CreateFontA(m.bannerFontHeight, 0, 900, 900, FW_BOLD, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, "Arial");
    if (font != nullptr) {
        HGDIOBJ oldFont = SelectObject(dc, font);
        const COLORREF oldColor = SetTextColor(dc, kWhite);
        const int oldMode = SetBkMode(dc, TRANSPARENT);
        const std::string caption = kBannerText;
        TextOutA(dc, clip.left + m.bannerTextLeft, clip.bottom - m.bannerTextBottom,
                 caption.c_str(), static_cast<int>(caption.size()));
        SetBkMode(dc, oldMode);
        SetTextColor(dc, oldColor);
        SelectObject(dc, oldFont);
        DeleteObject(font);
    }

    FillColor(dc,
              RECT{clip.left + m.bannerWidth, clip.top + m.bannerTopRow,
                   clip.right - m.bannerRightStrip, clip.bottom},
              kWhite);
}

}  // namespace corv
