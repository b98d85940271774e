// Chooses the GDI+ font family for a drawn text.
#pragma once

#include <windows.h>

#include <objbase.h>

#include <gdiplus.h>

#include <string>

namespace corv {

// The family `name` (UTF-8) when it is installed. Otherwise a
// substitute that can show `text`: the generic sans-serif family, or else
// the first installed family that has a glyph for every character of the
// text, preferring one with "Sans" in its name; failing all that, the
// generic family or the first installed one. (GDI+ under Wine has no
// generic families and no glyph fall-back, so a Korean path drawn in a
// missing "Tahoma" would otherwise show nothing, or boxes.) Null when no font
// is installed at all. The caller deletes the family.
Gdiplus::GpFontFamily* CreateFontFamilyFor(const std::string& name, const std::wstring& text);

}  // namespace corv
