#include "settings_ui/page3_effects_win.h"

#include "base/text_win.h"
#include "framework/app_win.h"
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
        Map::OnCommands({IDC_FX_FRAME_SWITCH, IDC_FX_MASK_SWITCH, IDC_FX_SHADOW_SWITCH,
                         IDC_FX_RANDOM_MASK, IDC_FX_ROTATE_SWITCH},
                        &CPage3::OnSwitch),
        Map::OnControl(IDC_FX_ANGLE_LIST, CBN_SELCHANGE, &CPage3::OnAngleChanged),
        Map::OnCommand(IDC_FX_CHOOSE_MASK, &CPage3::OnChooseMask),
    };
    return map.Dispatch(*this, message) || CSettingsPage::RouteMessage(message);
}

BOOL CPage3::OnInitDialog() {
    CSettingsPage::OnInitDialog();
    AppState& state = State();
    Settings& settings = state.settings;
    BindControl(colorButton_, IDC_FX_FRAME_COLOR);
    colorButton_.SetStore([this](COLORREF colour) { ApplyFrameColor(State(), ColorRef{colour}); });
    // The preview is drawn by the page, inside its black border.
    BindControl(maskPreview_, IDC_FX_MASK_PREVIEW);
    maskPreview_.SetDraw([this](HDC dc, const RECT& area) { DrawMaskPreview(dc, area); });

    TakeFirstMask(settings, state.maskList);
    SetItemTextUtf8(IDC_FX_MASK_NAME, MaskFileLabel(settings.maskfilename));
    ApplyChanges(EffectsInitialStates(settings));

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
    for (const std::string& item : items) angles.AddString(Wide(item));
    const int index = FindAngleItem(items, Setting().rotatevalue);
    if (index < 0) return;
    angles.SetCurSel(index);
    OnAngleChanged();
}

void CPage3::OnSwitch(int id) {
    ApplyChanges(ApplyEffectsSwitch(Setting(), id, IsItemChecked(id)));
}

void CPage3::OnAngleChanged() {
    CComboBox angles;
    angles.Attach(GetDlgItem(IDC_FX_ANGLE_LIST));
    const int index = angles.GetCurSel();
    if (index < 0) return;
    Setting().rotatevalue = AngleOfItem(Utf8(angles.GetItemText(index)));
}

void CPage3::OnChooseMask() {
    if (maskChooser_ != nullptr) return;
    INT_PTR result = CMaskDlg::kCancelled;
    std::string chosen;
    {
        CWaitCursor wait;
        // Owned by the sheet, so the sheet waits while the chooser is open.
        CMaskDlg chooser(State().maskList, Host().PreviewImaging(), ::GetParent(hwnd_));
        maskChooser_ = &chooser;
        result = chooser.DoModal();
        chosen = chooser.ChosenMask();
        maskChooser_ = nullptr;
    }
    if (result != CMaskDlg::kChosen || !IsWindow()) return;
    const std::vector<ControlChange> changes = ApplyChosenMask(Setting(), chosen);
    if (changes.empty()) return;
    ApplyChanges(changes);
    maskPreview_.Repaint();
}

void CPage3::CancelOwnWindows() {
    if (maskChooser_ != nullptr) maskChooser_->EndDialog(CMaskDlg::kCancelled);
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
