// The system's per-monitor wallpaper interface (Windows 8 and later), as the
// program and its test server use it. Declared here because the system
// headers of the targeted Windows version leave it out; the method order is
// the interface's own.
#pragma once

#include <windows.h>

#include <objbase.h>

namespace corv {

// {C2CF3110-460E-4FC1-B9D0-8A1C0C9CC4BD}
constexpr GUID kDesktopWallpaperClass = {
    0xC2CF3110, 0x460E, 0x4FC1, {0xB9, 0xD0, 0x8A, 0x1C, 0x0C, 0x9C, 0xC4, 0xBD}};
// {B92B56A9-8B55-4E14-9A89-0199BBB6F93B}
constexpr GUID kDesktopWallpaperInterface = {
    0xB92B56A9, 0x8B55, 0x4E14, {0x9A, 0x89, 0x01, 0x99, 0xBB, 0xB6, 0xF9, 0x3B}};

// The position values: how the pictures are laid on their monitors.
constexpr int kWallpaperCentred = 0;

struct IMonitorWallpapers : public IUnknown {
    virtual HRESULT STDMETHODCALLTYPE SetWallpaper(LPCWSTR monitor, LPCWSTR path) = 0;
    // `path` is freed with CoTaskMemFree.
    virtual HRESULT STDMETHODCALLTYPE GetWallpaper(LPCWSTR monitor, LPWSTR* path) = 0;
    // `monitor` is freed with CoTaskMemFree.
    virtual HRESULT STDMETHODCALLTYPE GetMonitorDevicePathAt(UINT index, LPWSTR* monitor) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMonitorDevicePathCount(UINT* count) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetMonitorRECT(LPCWSTR monitor, RECT* rect) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetBackgroundColor(COLORREF color) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetBackgroundColor(COLORREF* color) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetPosition(int position) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetPosition(int* position) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSlideshow(IUnknown* items) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSlideshow(IUnknown** items) = 0;
    virtual HRESULT STDMETHODCALLTYPE SetSlideshowOptions(int options, UINT tick) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetSlideshowOptions(int* options, UINT* tick) = 0;
    virtual HRESULT STDMETHODCALLTYPE AdvanceSlideshow(LPCWSTR monitor, int direction) = 0;
    virtual HRESULT STDMETHODCALLTYPE GetStatus(int* state) = 0;
    virtual HRESULT STDMETHODCALLTYPE Enable(BOOL enable) = 0;
};

}  // namespace corv
