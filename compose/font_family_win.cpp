#include "compose/font_family_win.h"

#include <vector>

#include "base/text_win.h"

namespace corv {

namespace gp = Gdiplus::DllExports;
using Gdiplus::GpFontFamily;
using Gdiplus::Ok;

namespace {

GpFontFamily* FamilyByName(const std::wstring& name) {
    GpFontFamily* family = nullptr;
    if (name.empty() || gp::GdipCreateFontFamilyFromName(name.c_str(), nullptr, &family) != Ok)
        return nullptr;
    return family;
}

std::wstring NameOf(GpFontFamily* family) {
    WCHAR name[LF_FACESIZE] = {};
    if (gp::GdipGetFamilyName(family, name, LANG_NEUTRAL) != Ok) return std::wstring();
    return name;
}

bool IsAscii(const std::wstring& text) {
    for (wchar_t c : text)
        if (c > 0x7E) return false;
    return true;
}

// Whether the GDI font of this face has a glyph for every character.
bool Covers(const std::wstring& face, const std::wstring& text) {
    if (IsAscii(text)) return true;
    if (face.empty() || face.size() >= LF_FACESIZE) return false;
    HDC dc = CreateCompatibleDC(nullptr);
    if (!dc) return false;
    LOGFONTW spec = {};
    spec.lfHeight = -16;
    spec.lfCharSet = DEFAULT_CHARSET;
    face.copy(spec.lfFaceName, face.size());
    HFONT font = CreateFontIndirectW(&spec);
    bool covers = false;
    if (font) {
        HGDIOBJ old = SelectObject(dc, font);
        // GDI quietly substitutes a face it does not have.
        WCHAR selected[LF_FACESIZE] = {};
        GetTextFaceW(dc, LF_FACESIZE, selected);
        if (lstrcmpiW(selected, face.c_str()) == 0) {
            std::vector<WORD> glyphs(text.size());
            covers = GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()),
                                      glyphs.data(), GGI_MARK_NONEXISTING_GLYPHS) != GDI_ERROR;
            for (WORD glyph : glyphs)
                if (glyph == 0xFFFF) covers = false;
        }
        SelectObject(dc, old);
        DeleteObject(font);
    }
    DeleteDC(dc);
    return covers;
}

// An installed family that can show the text, sans-serif ones first; with
// `anyFamily`, the first installed family when none can.
GpFontFamily* InstalledFamilyFor(const std::wstring& text, bool anyFamily) {
    Gdiplus::GpFontCollection* installed = nullptr;  // owned by GDI+
    INT count = 0;
    if (gp::GdipNewInstalledFontCollection(&installed) != Ok || !installed ||
        gp::GdipGetFontCollectionFamilyCount(installed, &count) != Ok || count <= 0)
        return nullptr;
    std::vector<GpFontFamily*> families(static_cast<std::size_t>(count), nullptr);
    INT found = 0;
    if (gp::GdipGetFontCollectionFamilyList(installed, count, families.data(), &found) != Ok)
        return nullptr;
    families.resize(static_cast<std::size_t>(found > 0 ? found : 0));
    std::wstring first;
    std::wstring firstCovering;
    for (GpFontFamily* family : families) {
        const std::wstring name = NameOf(family);
        if (name.empty()) continue;
        if (first.empty()) first = name;
        if (!Covers(name, text)) continue;
        const bool sans =
            name.find(L"Sans") != std::wstring::npos && name.find(L"Mono") == std::wstring::npos;
        if (sans) return FamilyByName(name);
        if (firstCovering.empty()) firstCovering = name;
    }
    if (!firstCovering.empty()) return FamilyByName(firstCovering);
    return anyFamily ? FamilyByName(first) : nullptr;
}

}  // namespace

GpFontFamily* CreateFontFamilyFor(const std::string& name, const std::wstring& text) {
    if (GpFontFamily* named = FamilyByName(Wide(name))) return named;
    GpFontFamily* generic = nullptr;
    if (gp::GdipGetGenericFontFamilySansSerif(&generic) != Ok) generic = nullptr;
    if (generic && Covers(NameOf(generic), text)) return generic;
    // The generic family cannot show the text, or there is none.
    if (GpFontFamily* covering = InstalledFamilyFor(text, generic == nullptr)) {
        if (generic) gp::GdipDeleteFontFamily(generic);
        return covering;
    }
    return generic;
}

}  // namespace corv
