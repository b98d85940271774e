#include "settings_ui/sheet_logic.h"

#include <algorithm>

namespace corv {

const wchar_t* const kSheetMessageCaption = L"Corvalendrine설정";

int32_t MaxPictureSize(int32_t screenWidth) {
    return (screenWidth * 3 / 4) / 10 * 10;
}

namespace {

CloseVerdict Refuse(int page, const std::wstring& message, int focusField) {
    CloseVerdict verdict;
    verdict.close = false;
    verdict.page = page;
    verdict.message = message;
    verdict.focusField = focusField;
    return verdict;
}

}  // namespace

CloseVerdict CheckSheetClose(Settings& settings, int32_t screenWidth, TypedFields* picturePage,
                             TypedFields* effectsPage, int32_t collageLimit) {
    if (picturePage != nullptr && picturePage->HasTypedFields()) {
        const std::string interval = picturePage->FieldText(kIntervalField);
        if (interval.empty()) return Refuse(kPicturePageIndex, L"타임을 넣어주세요!", 0);
        const int32_t seconds = ParseDecimal(interval);
        if (settings.min_sec == 1000 && seconds < 3)
            return Refuse(kPicturePageIndex, L"변경타임 간격은 최소 3초이상입니다!",
                          kIntervalField);
        settings.changetime = seconds;
        settings.piccleartotalcnt = ParseDecimal(picturePage->FieldText(kClearCountField));
        const int32_t size = ParseDecimal(picturePage->FieldText(kSizeField));
        // A screen too narrow for the rule (or not known) still lets the
        // smallest size through: the check never refuses every value.
        const int32_t largest = std::max<int32_t>(MaxPictureSize(screenWidth), kMinPictureSize);
        if (size < kMinPictureSize || size > largest) {
            // In collage mode the field goes back to a size collage mode
            // takes, so the reset never switches it off.
            const bool collageLimited = settings.isoverlap != 0 &&
                                        collageLimit >= kMinPictureSize && collageLimit < largest;
            picturePage->SetFieldText(kSizeField,
                                      std::to_string(collageLimited ? collageLimit : largest));
            return Refuse(kPicturePageIndex,
                          L"이미지크기를 최소:200이상, 최대:" + std::to_wstring(largest) +
                              L"이하로 설정바랍니다!",
                          kSizeField);
        }
        settings.picmaxsize = size;
    }
    if (effectsPage != nullptr && effectsPage->HasTypedFields()) {
        const int32_t frame = ParseDecimal(effectsPage->FieldText(kFrameSizeField));
        if (frame < 1 || frame > 50)
            return Refuse(kEffectsPageIndex, L"프레임Size 지정이 잘못됐습니다!", kFrameSizeField);
        settings.framesize = frame;
    }
    return CloseVerdict{};
}

}  // namespace corv
