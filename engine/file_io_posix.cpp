#include "engine/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace corv {

ReadResult ReadWholeFile(const std::string& path, std::string& data, std::size_t limit) {
    int fd = ::open(path.c_str(), O_RDONLY);
    if (fd < 0) return errno == ENOENT ? ReadResult::Missing : ReadResult::Failed;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return ReadResult::Failed;
    }
    if (static_cast<unsigned long long>(st.st_size) > limit) {
        ::close(fd);
        return ReadResult::TooLarge;
    }
    std::string buffer;
    buffer.reserve(static_cast<std::size_t>(st.st_size));
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0) {
            if (errno == EINTR) continue;
            ::close(fd);
            return ReadResult::Failed;
        }
        if (n == 0) break;
        if (buffer.size() + static_cast<std::size_t>(n) > limit) {
            ::close(fd);
            return ReadResult::TooLarge;
        }
        buffer.append(chunk, static_cast<std::size_t>(n));
    }
    ::close(fd);
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
    // A folder or a read-only file in the way stays as it is, as on Windows.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0))
        return false;
    const std::string temp = path + ".new";
    int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    bool ok = true;
    for (const FilePiece& piece : pieces) {
        const char* p = piece.data;
        std::size_t left = piece.size;
        while (ok && left > 0) {
            ssize_t n = ::write(fd, p, left);
            if (n < 0) {
                if (errno == EINTR) continue;
                ok = false;
                break;
            }
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    if (ok && ::fsync(fd) != 0) ok = false;
    if (::close(fd) != 0) ok = false;
    if (ok && std::rename(temp.c_str(), path.c_str()) != 0) ok = false;
    if (!ok) std::remove(temp.c_str());
    return ok;
}

bool MoveFileReplacing(const std::string& from, const std::string& to) {
    struct stat st {};
    if (::stat(to.c_str(), &st) == 0 && (!S_ISREG(st.st_mode) || (st.st_mode & 0222) == 0))
        return false;
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) {
    return std::remove(path.c_str()) == 0;
}

bool FileExists(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0;
}

}  // namespace corv
