// A stand-in for the system's per-monitor wallpaper class, for the
// end-to-end cases under Wine (which has none): an in-process server the
// case registers for the class in the test prefix. It lists the monitors
// Wine sees (left to right, named \\?\DISPLAY#TEST#N), keeps every monitor's
// wallpaper and the position in wallpapers.txt beside the DLL (so they last
// from one run of the program to the next), and appends every call that
// changes something to calls.log there, one line a call (UTF-8):
//   SetWallpaper MONITOR PATH
//   SetPosition N
// wallpapers.txt holds "position N" and lines "MONITOR<TAB>PATH"; the case
// writes it to set the user's wallpapers before the program starts.
#include <windows.h>

#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "compose/desktop_wallpaper_win.h"

namespace {

HMODULE g_module = nullptr;
LONG g_objects = 0;

std::wstring Beside(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(g_module, path, MAX_PATH);
    std::wstring dir = path;
    dir.erase(dir.find_last_of(L"\\/") + 1);
    return dir + name;
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size,
                        nullptr, nullptr);
    return out;
}

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

void Log(const std::string& line) {
    std::ofstream log(Beside(L"calls.log").c_str(), std::ios::app | std::ios::binary);
    log << line << "\n";
}

struct Monitor {
    std::wstring id;
    RECT rect;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(monitor, &info))
        reinterpret_cast<std::vector<Monitor>*>(data)->push_back(Monitor{L"", info.rcMonitor});
    return TRUE;
}

std::vector<Monitor> Monitors() {
    std::vector<Monitor> found;
    EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&found));
    std::sort(found.begin(), found.end(),
              [](const Monitor& a, const Monitor& b) { return a.rect.left < b.rect.left; });
    for (size_t i = 0; i < found.size(); ++i)
        found[i].id = L"\\\\?\\DISPLAY#TEST#" + std::to_wstring(i + 1);
    return found;
}

struct Saved {
    int position = 4;
    std::vector<std::pair<std::string, std::string>> wallpapers;  // monitor, path (UTF-8)
};

Saved Load() {
    Saved saved;
    std::ifstream file(Beside(L"wallpapers.txt").c_str(), std::ios::binary);
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.compare(0, 9, "position ") == 0) {
            saved.position = std::atoi(line.c_str() + 9);
            continue;
        }
        const size_t tab = line.find('\t');
        if (tab != std::string::npos)
            saved.wallpapers.emplace_back(line.substr(0, tab), line.substr(tab + 1));
    }
    return saved;
}

void Store(const Saved& saved) {
    std::ofstream file(Beside(L"wallpapers.txt").c_str(), std::ios::binary | std::ios::trunc);
    file << "position " << saved.position << "\n";
    for (const auto& w : saved.wallpapers) file << w.first << "\t" << w.second << "\n";
}

wchar_t* Copy(const std::wstring& text) {
    auto* out = static_cast<wchar_t*>(CoTaskMemAlloc((text.size() + 1) * sizeof(wchar_t)));
    if (out != nullptr) std::copy(text.c_str(), text.c_str() + text.size() + 1, out);
    return out;
}

class Wallpapers : public corv::IMonitorWallpapers {
public:
    Wallpapers() { InterlockedIncrement(&g_objects); }
    virtual ~Wallpapers() { InterlockedDecrement(&g_objects); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, corv::kDesktopWallpaperInterface)) {
            *out = this;
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(++references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = --references_;
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE SetWallpaper(LPCWSTR monitor, LPCWSTR path) override {
        if (monitor == nullptr || path == nullptr) return E_POINTER;
        const std::string id = Utf8(monitor), file = Utf8(path);
        Log("SetWallpaper " + id + " " + file);
        Saved saved = Load();
        bool found = false;
        for (auto& w : saved.wallpapers)
            if (w.first == id) {
                w.second = file;
                found = true;
            }
        if (!found) saved.wallpapers.emplace_back(id, file);
        Store(saved);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetWallpaper(LPCWSTR monitor, LPWSTR* path) override {
        if (monitor == nullptr || path == nullptr) return E_POINTER;
        std::wstring file;
        for (const auto& w : Load().wallpapers)
            if (w.first == Utf8(monitor)) file = Wide(w.second);
        *path = Copy(file);
        return *path != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetMonitorDevicePathAt(UINT index, LPWSTR* monitor) override {
        if (monitor == nullptr) return E_POINTER;
        const std::vector<Monitor> monitors = Monitors();
        if (index >= monitors.size()) return E_INVALIDARG;
        *monitor = Copy(monitors[index].id);
        return *monitor != nullptr ? S_OK : E_OUTOFMEMORY;
    }
    HRESULT STDMETHODCALLTYPE GetMonitorDevicePathCount(UINT* count) override {
        if (count == nullptr) return E_POINTER;
        *count = static_cast<UINT>(Monitors().size());
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMonitorRECT(LPCWSTR monitor, RECT* rect) override {
        if (monitor == nullptr || rect == nullptr) return E_POINTER;
        for (const Monitor& m : Monitors())
            if (m.id == monitor) {
                *rect = m.rect;
                return S_OK;
            }
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE SetBackgroundColor(COLORREF) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetBackgroundColor(COLORREF*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetPosition(int position) override {
        Log("SetPosition " + std::to_string(position));
        Saved saved = Load();
        saved.position = position;
        Store(saved);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetPosition(int* position) override {
        if (position == nullptr) return E_POINTER;
        *position = Load().position;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE SetSlideshow(IUnknown*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSlideshow(IUnknown**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE SetSlideshowOptions(int, UINT) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetSlideshowOptions(int*, UINT*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE AdvanceSlideshow(LPCWSTR, int) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetStatus(int*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE Enable(BOOL) override { return E_NOTIMPL; }

private:
    LONG references_ = 1;
};

class Factory : public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = this;
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        Wallpapers* made = new Wallpapers();
        const HRESULT result = made->QueryInterface(iid, out);
        made->Release();
        return result;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Factory g_factory;

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

extern "C" __declspec(dllexport) HRESULT WINAPI
    DllGetClassObject(REFCLSID id, REFIID iid, void** out) {
    if (out == nullptr) return E_POINTER;
    *out = nullptr;
    if (!IsEqualCLSID(id, corv::kDesktopWallpaperClass)) return CLASS_E_CLASSNOTAVAILABLE;
    return g_factory.QueryInterface(iid, out);
}

extern "C" __declspec(dllexport) HRESULT WINAPI DllCanUnloadNow() {
    return g_objects == 0 ? S_OK : S_FALSE;
}
