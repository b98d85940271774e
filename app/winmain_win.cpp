// Program entry: the application object runs the whole program.
#include <windows.h>

#include "app/main_app_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    corv::CMainApp app;
    return corv::RunApplication(app, instance);
}
