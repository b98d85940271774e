// The settings sheet's check when it is closed: the four values typed into
// edit fields of the picture and effects pages are checked in a fixed order
// and copied into the settings. The pages hand their fields over through
// TypedFields, so the check needs nothing else of them.
#pragma once

#include <cstdint>
#include <string>

#include "engine/settings.h"

namespace corv {

// The edit fields a page offers to the sheet's close check, by control id.
class TypedFields {
public:
    virtual ~TypedFields() = default;
    // True when the page's window exists (it has been shown) and holds the
    // fields.
    virtual bool HasTypedFields() const = 0;
    virtual std::string FieldText(int id) const = 0;
    virtual void SetFieldText(int id, const std::string& text) = 0;
};

// The fields and the pages that hold them.
constexpr int kIntervalField = 1036;    // picture page: changetime
constexpr int kSizeField = 1005;        // picture page: picmaxsize
constexpr int kClearCountField = 1004;  // picture page: piccleartotalcnt
constexpr int kFrameSizeField = 1015;   // effects page: framesize
constexpr int kPicturePageIndex = 1;
constexpr int kEffectsPageIndex = 2;

// The caption of the check's message boxes.
extern const wchar_t* const kSheetMessageCaption;

struct CloseVerdict {
    bool close = true;
    // When refused: the page to show, the message, and the field that gets
    // the focus.
    int page = -1;
    std::wstring message;
    int focusField = 0;
};

// The largest picture size allowed: three quarters of the screen width, cut
// down to a multiple of 10.
int32_t MaxPictureSize(int32_t screenWidth);
// The smallest picture size allowed.
constexpr int32_t kMinPictureSize = 200;

// Runs the check. Either page may be null or without fields; its check is
// then skipped. Values that pass are stored in `settings` as the check goes,
// so a later refusal keeps them. A refused size field is reset to the
// largest size allowed, or in collage mode to `collageLimit` (the largest
// size collage mode takes) when that is smaller. The size 200 always
// passes, whatever the screen width.
CloseVerdict CheckSheetClose(Settings& settings, int32_t screenWidth, TypedFields* picturePage,
                             TypedFields* effectsPage, int32_t collageLimit = 0);

}  // namespace corv
