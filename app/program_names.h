// The names by which the system and other programs find the running
// program: the title of its hidden main window and its single-instance
// mutex. The end-to-end tests' driver finds the program by them too.
#pragma once

namespace corv {

// The hidden main window's title; the window is a dialog of the system's
// class.
constexpr const wchar_t* kMainWindowTitle = L"Corvalendrine";
// The name of the mutex that keeps a second instance from starting.
constexpr const char* kInstanceMutexName = "Corvalendrine";

}  // namespace corv
