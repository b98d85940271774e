#include "engine/platform_win.h"

#include <windows.h>

#include <cstdlib>

#include "base/text_win.h"

namespace corv {

int CrtRandom::Next() {
    return std::rand();
}

uint32_t SystemClock::TickCount() {
    return GetTickCount();
}

LocalDate SystemClock::Today() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return LocalDate{now.wYear, now.wMonth, now.wDay, now.wDayOfWeek};
}

bool Win32FileSystem::ForEachEntry(const std::string& folder,
                                   const std::function<void(const DirEntry&)>& visit) {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(WidePath(folder + "\\*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return false;
    do {
        DirEntry entry;
        // A name with a lone surrogate has no UTF-8 form to open it by
        // again: it is passed over.
        if (!Utf8Exact(found.cFileName, entry.name)) continue;
        entry.isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        entry.isLink = (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
        visit(entry);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return true;
}

bool Win32FileSystem::Exists(const std::string& path) {
    return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace corv
