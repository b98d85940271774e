#include <windows.h>

#include "base/text_win.h"
#include "engine/file_io.h"

namespace corv {

ReadResult ReadWholeFile(const std::string& path, std::string& data, std::size_t limit) {
    HANDLE file =
        CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD err = GetLastError();
        return (err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND) ? ReadResult::Missing
                                                                            : ReadResult::Failed;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size) || size.QuadPart < 0) {
        CloseHandle(file);
        return ReadResult::Failed;
    }
    if (static_cast<unsigned long long>(size.QuadPart) > limit) {
        CloseHandle(file);
        return ReadResult::TooLarge;
    }
    std::string buffer(static_cast<std::size_t>(size.QuadPart), '\0');
    std::size_t got = 0;
    while (got < buffer.size()) {
        DWORD n = 0;
        DWORD want = static_cast<DWORD>(buffer.size() - got);
        if (!ReadFile(file, &buffer[got], want, &n, nullptr)) {
            CloseHandle(file);
            return ReadResult::Failed;
        }
        if (n == 0) break;
        got += n;
    }
    CloseHandle(file);
    buffer.resize(got);
    data.swap(buffer);
    return ReadResult::Ok;
}

bool WriteFileAtomically(const std::string& path, const std::string& data) {
    return WriteFileAtomically(path, data.data(), data.size());
}

bool WriteFileAtomically(const std::string& path, const char* data, std::size_t size) {
    return WriteFileAtomically(path, std::vector<FilePiece>{FilePiece{data, size}});
}

bool WriteFileAtomically(const std::string& path, const std::vector<FilePiece>& pieces) {
    // A folder or a read-only file in the way stays as it is.
    DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0)
        return false;
    const std::string temp = path + ".new";
    HANDLE file = CreateFileW(WidePath(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool ok = true;
    for (const FilePiece& piece : pieces) {
        std::size_t done = 0;
        while (ok && done < piece.size) {
            DWORD n = 0;
            const std::size_t left = piece.size - done;
            const DWORD want = left > 0x40000000 ? 0x40000000 : static_cast<DWORD>(left);
            if (!WriteFile(file, piece.data + done, want, &n, nullptr) || n == 0)
                ok = false;
            else
                done += n;
        }
    }
    if (ok && !FlushFileBuffers(file)) ok = false;
    if (!CloseHandle(file)) ok = false;
    if (ok && !MoveFileExW(WidePath(temp).c_str(), WidePath(path).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        ok = false;
    if (!ok) DeleteFileW(WidePath(temp).c_str());
    return ok;
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
    DWORD attributes = GetFileAttributesW(WidePath(to).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY)) != 0)
        return false;
    return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::string& path) {
    return DeleteFileW(WidePath(path).c_str()) != 0;
}

bool FileExists(const std::string& path) {
    return GetFileAttributesW(WidePath(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace corv
