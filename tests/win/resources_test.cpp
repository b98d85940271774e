// The program's resources as the code and the user meet them: the tray
// menus with their ids and Korean texts, the strings, the icons at every
// display size, the two dialog templates and the manifest.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "res/resource.h"

namespace {

HINSTANCE Module() {
    return GetModuleHandleW(nullptr);
}

std::wstring ItemText(HMENU menu, int position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 128, MF_BYPOSITION);
    return text;
}

TEST(Resources, TrayMenuHasEveryItemInItsPlace) {
    HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_TRAYMENU));
    ASSERT_NE(nullptr, menu);
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(nullptr, popup);
    struct Item {
        UINT id;  // 0 for a separator
        const wchar_t* text;
    };
    const Item items[] = {
        {32778, L"다음 이미지(->)"},
        {32786, L"이전 이미지(<-)"},
        {0, L""},
        {32788, L"현재 이미지 삭제"},
        {32791, L"연결프로그램 실행"},
        {0, L""},
        {32801, L"바탕 아이콘 보임"},
        {32793, L"화면 정리"},
        {32781, L"잠시 중지"},
        {0, L""},
        {32789, L"환경 설정"},
        {32782, L"Corvalendrine?"},
        {0, L""},
        {32790, L"종료"},
    };
    ASSERT_EQ(static_cast<int>(sizeof items / sizeof items[0]), GetMenuItemCount(popup));
    for (int i = 0; i < GetMenuItemCount(popup); ++i) {
        const Item& item = items[i];
        const bool separator =
            (GetMenuState(popup, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) != 0;
        EXPECT_EQ(item.id == 0, separator) << "position " << i;
        if (item.id == 0) continue;
        EXPECT_EQ(item.id, GetMenuItemID(popup, i)) << "position " << i;
        EXPECT_EQ(std::wstring(item.text), ItemText(popup, i)) << "position " << i;
    }
    DestroyMenu(menu);
}

TEST(Resources, SlotMenuHasTheDeleteItem) {
    HMENU menu = LoadMenuW(Module(), MAKEINTRESOURCEW(IDR_IMGPOS));
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(std::wstring(L"imgpos"), ItemText(menu, 0));
    HMENU popup = GetSubMenu(menu, 0);
    ASSERT_NE(nullptr, popup);
    ASSERT_EQ(1, GetMenuItemCount(popup));
    EXPECT_EQ(32800u, GetMenuItemID(popup, 0));
    EXPECT_EQ(std::wstring(L"삭제"), ItemText(popup, 0));
    DestroyMenu(menu);
}

TEST(Resources, Strings) {
    wchar_t text[256] = {};
    ASSERT_GT(LoadStringW(Module(), IDS_VERSION, text, 256), 0);
    EXPECT_EQ(std::wstring(L"Corvalendrine v1.51"), text);
    EXPECT_GT(LoadStringW(Module(), IDS_OLE_INIT_FAILED, text, 256), 10);
}

// Each icon carries an image of every size the system asks for at 100 %
// to 200 % (small and large icons), so none is stretched from another:
// the system's own choice from the icon's directory is an image of exactly
// that size, and the icon loads at it.
TEST(Resources, EveryIconCarriesEveryDisplaySize) {
    for (UINT id : {128u, 156u, 137u, 138u, 139u, 140u, 141u, 142u, 143u, 148u}) {
        // Types 14 and 3: the icon group and its images.
        HRSRC group = FindResourceW(Module(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(14));
        ASSERT_NE(nullptr, group) << id;
        auto* directory = static_cast<BYTE*>(LockResource(LoadResource(Module(), group)));
        ASSERT_NE(nullptr, directory) << id;
        for (int size : {16, 20, 24, 32, 40, 48}) {
            const int image = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, 0);
            HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(image), MAKEINTRESOURCEW(3));
            ASSERT_NE(nullptr, found) << id << " at " << size;
            const auto* header =
                static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Module(), found)));
            ASSERT_NE(nullptr, header) << id << " at " << size;
            EXPECT_EQ(size, header->biWidth) << id;
            EXPECT_EQ(32, header->biBitCount) << id;

            HICON icon = static_cast<HICON>(
                LoadImageW(Module(), MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, 0));
            ASSERT_NE(nullptr, icon) << id << " at " << size;
            ICONINFO info{};
            ASSERT_TRUE(GetIconInfo(icon, &info));
            BITMAP bitmap{};
            ASSERT_NE(nullptr, info.hbmColor) << id;
            GetObjectW(info.hbmColor, sizeof bitmap, &bitmap);
            EXPECT_EQ(size, bitmap.bmWidth) << id;
            DeleteObject(info.hbmColor);
            DeleteObject(info.hbmMask);
            DestroyIcon(icon);
        }
    }
}

// The fixed head of an extended dialog template.
#pragma pack(push, 1)
struct DialogHead {
    WORD version;
    WORD signature;
    DWORD helpId;
    DWORD exStyle;
    DWORD style;
    WORD items;
    short x, y, cx, cy;
};
#pragma pack(pop)

DialogHead LoadDialogHead(UINT id) {
    DialogHead head{};
    HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(5));
    if (found == nullptr) return head;
    const void* data = LockResource(LoadResource(Module(), found));
    if (data != nullptr && SizeofResource(Module(), found) >= sizeof head)
        std::memcpy(&head, data, sizeof head);
    return head;
}

TEST(Resources, TheMainWindowTemplateIsAnEmptyHiddenPopup) {
    const DialogHead head = LoadDialogHead(IDD_MAIN);
    ASSERT_EQ(0xFFFF, head.signature);
    EXPECT_EQ(0, head.items);
    EXPECT_NE(0u, head.style & WS_POPUP);
    EXPECT_EQ(0u, head.style & (WS_VISIBLE | WS_CAPTION));
}

TEST(Resources, TheAboutBoxTemplate) {
    const DialogHead head = LoadDialogHead(IDD_ABOUTBOX);
    ASSERT_EQ(0xFFFF, head.signature);
    EXPECT_EQ(235, head.cx);
    EXPECT_EQ(65, head.cy);
    EXPECT_EQ(8, head.items);
    EXPECT_NE(0u, head.style & WS_SYSMENU);
}

TEST(Resources, TheManifestAsksForCommonControlsSix) {
    HRSRC found = FindResourceW(Module(), MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(nullptr, found);
    const char* data = static_cast<const char*>(LockResource(LoadResource(Module(), found)));
    const std::string manifest(data, SizeofResource(Module(), found));
    EXPECT_NE(std::string::npos, manifest.find("Microsoft.Windows.Common-Controls"));
    EXPECT_NE(std::string::npos, manifest.find("6.0.0.0"));
    EXPECT_NE(std::string::npos, manifest.find("dpiAware"));
}

}  // namespace
