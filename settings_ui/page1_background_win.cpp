#include "settings_ui/page1_background_win.h"

#include "base/text_win.h"
#include "compose/composer.h"
#include "framework/common_dialogs_win.h"
#include "res/resource.h"
#include "settings_ui/page1_background.h"

namespace corv {

namespace {

uint64_t FileLength(const std::string& path) {
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(WidePath(path).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    FindClose(search);
    return (static_cast<uint64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
}

}  // namespace

CPage1::CPage1(SheetHost& host) : CSettingsPage(IDD_PAGE_BACKGROUND, host) {}

bool CPage1::RouteMessage(Message& message) {
    using Map = MessageMap<CPage1>;
    static const Map map = {
        Map::OnCommands({IDC_BG_COLOR_SWITCH, IDC_BG_IMAGE_SWITCH, IDC_BG_STRETCH_SWITCH},
                        &CPage1::OnSwitch),
        Map::OnCommand(IDC_BG_CHOOSE_IMAGE, &CPage1::OnChooseImage),
    };
    return map.Dispatch(*this, message) || CSettingsPage::RouteMessage(message);
}

BOOL CPage1::OnInitDialog() {
    CSettingsPage::OnInitDialog();
    const Settings& settings = Setting();
    BindControl(colorButton_, IDC_BG_COLOR_BUTTON);
    colorButton_.SetStore([this](COLORREF colour) {
        ApplyBackgroundColor(State(), ColorRef{colour});
        preview_.Repaint();
    });
    ShowImageFile();
    CheckItem(IDC_BG_IMAGE_SWITCH, settings.isbackimg);
    CheckItem(IDC_BG_COLOR_SWITCH, settings.isbackcolor);
    CheckItem(IDC_BG_STRETCH_SWITCH, settings.isstretch);
    ApplyChanges(BackgroundInitialStates(settings));
    colorButton_.SetColor(BackgroundButtonColor(settings).value);

    // The preview takes the screen's proportions and is drawn by the page,
    // so nothing paints over it afterwards.
    BindControl(preview_, IDC_BG_PREVIEW);
    preview_.SetDraw([this](HDC dc, const RECT& area) { DrawPreview(dc, area); });
    RECT frame = preview_.GetWindowRect();
    MapWindowPoints(nullptr, hwnd_, reinterpret_cast<POINT*>(&frame), 2);
    const AppState& state = State();
    const int width = frame.right - frame.left;
    preview_.SetWindowPos(nullptr, 0, 0, width,
                          PreviewHeight(width, state.screenWidth, state.screenHeight),
                          SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

void CPage1::ShowImageFile() {
    const std::string& path = Setting().backimagename;
    SetItemTextUtf8(IDC_BG_FILE_NAME, FileNameOfPath(path));
    PictureFacts facts;
    if (!path.empty()) {
        // Only its size and depth are shown: the smallest decode will do.
        std::unique_ptr<Image> image =
            Host().PreviewImaging().LoadPicture(path, NeededSize{1, 1, false});
        facts.loaded = image->Width() > 0;
        facts.width = image->Width();
        facts.height = image->Height();
        facts.bitsPerPixel = image->BitsPerPixel();
        facts.fileBytes = FileLength(path);
    }
    SetItemTextUtf8(IDC_BG_DESCRIPTION, DescribePicture(facts));
}

void CPage1::OnSwitch(int id) {
    ApplyChanges(ApplyBackgroundSwitch(State(), id, IsItemChecked(id)));
    preview_.Repaint();
}

void CPage1::OnChooseImage() {
    std::string path;
    if (!ChooseOpenFile(hwnd_, BackgroundImageFilter(), path)) return;
    ApplyBackgroundImage(State(), path);
    if (!IsWindow()) return;
    ShowImageFile();
    Invalidate(true);
    UpdateWindow(hwnd_);
}

void CPage1::DrawPreview(HDC dc, const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const AppState& state = State();
    const Settings& settings = state.settings;
    GdiplusImaging& imaging = Host().PreviewImaging();
    std::unique_ptr<Image> image;
    if (settings.isbackimg && !settings.backimagename.empty())
        image = imaging.LoadPicture(settings.backimagename,
                                    NeededSize{width, height, settings.isstretch});
    // Upright as the wallpaper shows it.
    if (image && image->Width() > 0) StandUpright(imaging, *image);
    const PreviewPlan plan = PlanPreview(settings, width, height, state.screenWidth,
                                         image ? image->Width() : 0, image ? image->Height() : 0);
    {
        std::unique_ptr<Surface> surface = imaging.SurfaceOnDc(dc);
        if (surface) {
            surface->Clear(plan.clearArgb.value);
            if (plan.drawImage && image) surface->DrawImage(*image, plan.imageRect);
        }
    }
    // The frame the template gives the preview.
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    FrameRect(dc, &area, black);
}

}  // namespace corv
