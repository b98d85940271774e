// Program entry. The application object and main window take over from here
// as they are built; for now the program loads its settings and waits.
#include <windows.h>

#include <string>
#include <vector>

#include "engine/paths.h"
#include "engine/settings.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    HANDLE mutex = CreateMutexA(nullptr, TRUE, "Corvalendrine");
    if (mutex == nullptr || GetLastError() == ERROR_ALREADY_EXISTS) {
        if (mutex != nullptr) CloseHandle(mutex);
        return 0;
    }
    char modulePath[512] = {};
    GetModuleFileNameA(nullptr, modulePath, sizeof modulePath);
    corv::Settings settings;
    settings.programDir = corv::DirectoryOf(modulePath);
    std::vector<std::string> exceptionPrograms;
    corv::LoadSettingsFile(settings, exceptionPrograms);

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    CloseHandle(mutex);
    return 0;
}
