#include "settings_ui/page3_effects_win.h"

#include "compose/text_encoding_win.h"
#include "framework/app_win.h"
#include "framework/common_dialogs_win.h"
#include "res/resource.h"

namespace corv {

namespace {

constexpr int kFrameSizeLow = 1;
constexpr int kFrameSizeHigh = 15;
constexpr uint32_t kOpaqueBlack = 0xFF000000;

}  // namespace

CPage3::CPage3(SheetHost& host) : CSettingsPage(IDD_PAGE_EFFECTS, host) {}

bool CPage3::HasTypedFields() const {
    return IsWindow() && GetDlgItem(kFrameSizeField) != nullptr;
}

bool CPage3::RouteMessage(Message& message) {
    using Map = MessageMap<CPage3>;
    static const Map map = {
        Map::OnCommand(IDC_FX_FRAME_SWITCH, &CPage3::OnFrameSwitch),
        Map::OnCommand(IDC_FX_MASK_SWITCH, &CPage3::OnMaskSwitch),
        Map::OnCommand(IDC_FX_SHADOW_SWITCH, &CPage3::OnShadowSwitch),
        Map::OnCommand(IDC_FX_RANDOM_MASK, &CPage3::OnRandomMask),
        Map::OnCommand(IDC_FX_ROTATE_SWITCH, &CPage3::OnRotateSwitch),
        Map::OnControl(IDC_FX_ANGLE_LIST, CBN_SELCHANGE, &CPage3::OnAngleChanged),
        Map::OnCommand(IDC_FX_FRAME_COLOR, &CPage3::OnFrameColor),
        Map::OnCommand(IDC_FX_CHOOSE_MASK, &CPage3::OnChooseMask),
        Map::OnDrawItem(&CPage3::OnDrawItem),
    };
    return map.Dispatch(*this, message) || CSettingsPage::RouteMessage(message);
}

BOOL CPage3::OnInitDialog() {
    CSettingsPage::OnInitDialog();
    AppState& state = State();
    Settings& settings = state.settings;
    BindControl(colorButton_, IDC_FX_FRAME_COLOR);
    // The preview draws itself through the page, inside its black border.
    CWindow preview(GetDlgItem(IDC_FX_MASK_PREVIEW));
    preview.ModifyStyle(SS_TYPEMASK, SS_OWNERDRAW);

    TakeFirstMask(settings, state.maskList);
    SetItemTextA(IDC_FX_MASK_NAME, MaskFileLabel(settings.maskfilename));
    Apply(EffectsInitialStates(settings));

    SetItemInt(IDC_FX_FRAME_SIZE, settings.framesize);
    CUpDown spin;
    spin.Attach(GetDlgItem(IDC_FX_FRAME_SPIN));
    spin.SetRange(kFrameSizeLow, kFrameSizeHigh);

    FillAngles();
    colorButton_.SetColor(settings.framecolor.value);
    return TRUE;
}

void CPage3::FillAngles() {
    CComboBox angles;
    angles.Attach(GetDlgItem(IDC_FX_ANGLE_LIST));
    if (!angles.IsWindow()) return;
    std::vector<std::string> items;
    HINSTANCE instance = ResourceInstance();
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(IDD_PAGE_EFFECTS),
                                MAKEINTRESOURCEW(RT_DIALOG_INIT));
    HGLOBAL loaded = found != nullptr ? LoadResource(instance, found) : nullptr;
    const void* data = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (data != nullptr)
        items = DialogInitTexts(static_cast<const unsigned char*>(data),
                                SizeofResource(instance, found), IDC_FX_ANGLE_LIST);
    for (const std::string& item : items) angles.AddString(AnsiToWide(item));
    const int index = FindAngleItem(items, Setting().rotatevalue);
    if (index < 0) return;
    angles.SetCurSel(index);
    OnAngleChanged();
}

void CPage3::Apply(const std::vector<EffectsChange>& changes) {
    for (const EffectsChange& change : changes) {
        if (change.kind == EffectsChange::Check)
            CheckItem(change.id, change.on);
        else
            EnableItem(change.id, change.on);
    }
}

void CPage3::Switch(int id) {
    Apply(ApplyEffectsSwitch(Setting(), id, IsItemChecked(id)));
}

void CPage3::OnFrameSwitch() {
    Switch(IDC_FX_FRAME_SWITCH);
}

void CPage3::OnMaskSwitch() {
    Switch(IDC_FX_MASK_SWITCH);
}

void CPage3::OnShadowSwitch() {
    Switch(IDC_FX_SHADOW_SWITCH);
}

void CPage3::OnRandomMask() {
    Switch(IDC_FX_RANDOM_MASK);
}

void CPage3::OnRotateSwitch() {
    Switch(IDC_FX_ROTATE_SWITCH);
}

void CPage3::OnAngleChanged() {
    CComboBox angles;
    angles.Attach(GetDlgItem(IDC_FX_ANGLE_LIST));
    const int index = angles.GetCurSel();
    if (index < 0) return;
    Setting().rotatevalue = AngleOfItem(WideToAnsi(angles.GetItemText(index)));
}

void CPage3::OnFrameColor() {
    COLORREF colour = Setting().framecolor.value;
    if (!ChooseColour(hwnd_, colour)) return;
    ApplyFrameColor(State(), ColorRef{colour});
    colorButton_.SetColor(colour);
    if (colorButton_.IsWindow()) colorButton_.Invalidate(true);
}

void CPage3::OnChooseMask() {
    if (maskChooser_ != nullptr) return;
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    INT_PTR result = CMaskDlg::kCancelled;
    std::string chosen;
    {
        // Owned by the sheet, so the sheet waits while the chooser is open.
        CMaskDlg chooser(State().maskList, Host().PreviewImaging(), ::GetParent(hwnd_));
        maskChooser_ = &chooser;
        result = chooser.DoModal();
        chosen = chooser.ChosenMask();
        maskChooser_ = nullptr;
    }
    SetCursor(previous);
    if (result != CMaskDlg::kChosen || !IsWindow()) return;
    const std::string label = ApplyChosenMask(Setting(), chosen);
    if (label.empty()) return;
    SetItemTextA(IDC_FX_MASK_NAME, label);
    HWND preview = GetDlgItem(IDC_FX_MASK_PREVIEW);
    if (preview != nullptr) InvalidateRect(preview, nullptr, TRUE);
}

void CPage3::CancelOwnWindows() {
    if (maskChooser_ != nullptr) maskChooser_->EndDialog(CMaskDlg::kCancelled);
}

void CPage3::OnDrawItem(UINT id, DRAWITEMSTRUCT& item) {
    if (id != IDC_FX_MASK_PREVIEW) return;
    DrawMaskPreview(item.hDC, item.rcItem);
}

void CPage3::DrawMaskPreview(HDC dc, const RECT& area) {
    GdiplusImaging& imaging = Host().PreviewImaging();
    const std::string& path = Setting().maskfilename;
    std::unique_ptr<Image> mask;
    if (!path.empty()) mask = imaging.LoadPicture(path);
    const bool loaded = mask && mask->Width() > 0 && mask->Height() > 0;
    const MaskPreviewPlan plan =
        PlanMaskPreview(area.right - area.left, area.bottom - area.top, loaded ? mask->Width() : 0,
                        loaded ? mask->Height() : 0);
    std::unique_ptr<Surface> surface = imaging.SurfaceOnDc(dc);
    if (!surface) return;
    surface->FillRect(plan.border, kOpaqueBlack);
    // A mask that does not load leaves the black area.
    if (loaded && plan.source.width > 0 && plan.source.height > 0 && plan.dest.width > 0 &&
        plan.dest.height > 0)
        surface->DrawImage(*mask, plan.dest, plan.source);
}

}  // namespace corv
