#include "widgets/mask_chooser_win.h"

#include "base/text_win.h"
#include "engine/dpi_win.h"
#include "res/mask_chooser_ids.h"

namespace corv {

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kBlack = 0xFF000000;

}  // namespace

CMaskDlg::CMaskDlg(const std::vector<std::string>& masks, GdiplusImaging& imaging, HWND parent)
    : CDialog(IDD_MASK_CHOOSER, parent), masks_(masks), imaging_(imaging) {}

bool CMaskDlg::RouteMessage(Message& message) {
    using Map = MessageMap<CMaskDlg>;
    static const Map map = {
        Map::OnCommand(IDC_MASK_SELECT, &CMaskDlg::OnSelect),
        Map::OnCommand(IDC_MASK_CANCEL, &CMaskDlg::OnCancelButton),
        Map::OnNotify(IDC_MASK_VIEW, LVN_ITEMCHANGED, &CMaskDlg::OnItemChanged),
        Map::OnNotify(IDC_MASK_VIEW, NM_DBLCLK, &CMaskDlg::OnDoubleClick),
        Map::OnClose(&CMaskDlg::OnCloseBox),
    };
    return map.Dispatch(*this, message) || CDialog::RouteMessage(message);
}

BOOL CMaskDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    view_.Attach(GetDlgItem(IDC_MASK_VIEW));
    // The view owns the image list from here on and destroys it with itself.
    const int side = MaskThumbSide(SystemDpi());
    thumbnails_ = ImageList_Create(side, side, ILC_COLOR32, 0, 1);
    view_.SetImageList(thumbnails_, LVSIL_NORMAL);
    // Items on a 60-pixel grid (at 96 DPI): a view that arranges its items
    // itself keeps the two columns too.
    const int step = MaskGridStep(SystemDpi());
    view_.Send(LVM_SETICONSPACING, 0, MAKELPARAM(step, step));
    const int count = static_cast<int>(masks_.size());
    if (thumbnails_ != nullptr) ImageList_SetImageCount(thumbnails_, static_cast<UINT>(count));
    for (int i = 0; i < count; ++i) {
        view_.Send(WM_SETREDRAW, FALSE);
        LVITEMW item{};
        item.mask = LVIF_TEXT | LVIF_IMAGE;
        item.iItem = i;
        const std::wstring name = Wide(MaskName(masks_[static_cast<size_t>(i)]));
        item.pszText = const_cast<wchar_t*>(name.c_str());
        item.iImage = i;
        const int inserted =
            static_cast<int>(view_.Send(LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
        const PointI at = MaskItemPosition(i, SystemDpi());
        if (inserted >= 0)
            view_.Send(LVM_SETITEMPOSITION, static_cast<WPARAM>(inserted), MAKELPARAM(at.x, at.y));
        MakeThumbnail(i, masks_[static_cast<size_t>(i)]);
        view_.Send(WM_SETREDRAW, TRUE);
    }
    // The view may arrange its items once they are all in: they are put on
    // their places again.
    for (int i = 0; i < view_.GetItemCount(); ++i) {
        const PointI at = MaskItemPosition(i, SystemDpi());
        view_.Send(LVM_SETITEMPOSITION, static_cast<WPARAM>(i), MAKELPARAM(at.x, at.y));
    }
    view_.Invalidate(true);
    EnableItem(IDC_MASK_SELECT, false);
    return TRUE;
}

void CMaskDlg::MakeThumbnail(int index, const std::string& path) {
    if (thumbnails_ == nullptr) return;
    const int32_t dpi = SystemDpi();
    const int32_t side = MaskThumbSide(dpi);
    std::unique_ptr<Image> cell = imaging_.NewBitmap(side, side, PixelFormat::Rgb24);
    if (cell->Width() <= 0) return;
    {
        std::unique_ptr<Image> mask = imaging_.LoadPicture(path);
        std::unique_ptr<Surface> surface = imaging_.SurfaceOn(*cell);
        if (!surface) return;
        surface->Clear(kWhite);
        surface->SetInterpolation(Interpolation::HighQualityBicubic);
        surface->DrawRectOutline(RectI{0, 0, side - 1, side - 1}, kBlack);
        // A file that does not decode leaves the white cell with its border.
        if (mask && mask->Width() > 0 && mask->Height() > 0) {
            const RectI fitted = FitMaskThumbnail(mask->Width(), mask->Height(), dpi);
            if (fitted.width > 0 && fitted.height > 0) surface->DrawImage(*mask, fitted);
        }
    }
    HBITMAP bitmap = CreateDeviceBitmap(*cell, kWhite);
    if (bitmap == nullptr) return;
    ImageList_Replace(thumbnails_, index, bitmap, nullptr);
    DeleteObject(bitmap);
}

LRESULT CMaskDlg::OnItemChanged(NMHDR& header) {
    const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
    const bool selected = (change.uNewState & LVIS_SELECTED) != 0;
    if (change.iItem < 0) return 0;
    const std::string name = Utf8(view_.GetItemText(change.iItem, 0));
    if (choice_.OnItemChanged(change.iItem, selected, name))
        EnableItem(IDC_MASK_SELECT, choice_.CanConfirm());
    return 0;
}

LRESULT CMaskDlg::OnDoubleClick(NMHDR&) {
    EndDialog(kChosen);
    return 0;
}

void CMaskDlg::OnSelect() {
    EndDialog(kChosen);
}

void CMaskDlg::OnCancelButton() {
    EndDialog(kCancelled);
}

void CMaskDlg::OnCloseBox() {
    EndDialog(kClosed);
}

}  // namespace corv
