// Whole-file reads and crash-safe whole-file writes.
//
// Paths are UTF-8, of any length. The implementation lives in
// file_io_posix.cpp (native builds) and file_io_win.cpp (Windows builds).
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace corv {

enum class ReadResult { Ok, Missing, Failed, TooLarge };

// Reads the whole file into `data`. A file larger than `limit` bytes is not
// read and reports TooLarge; `data` is left untouched unless the result is Ok.
ReadResult ReadWholeFile(const std::string& path, std::string& data, std::size_t limit);

// Writes `data` to a temporary file beside `path`, flushes it and then puts
// it in place of `path` in one step, so a failure or a killed process at any
// moment leaves either the old file or the new one, never a partial one.
// Returns false when anything fails; the old file is then unchanged and the
// temporary file is removed.
bool WriteFileAtomically(const std::string& path, const std::string& data);
// The same for `size` bytes at `data` (a large buffer need not be copied).
bool WriteFileAtomically(const std::string& path, const char* data, std::size_t size);

// A stretch of memory written as part of a file.
struct FilePiece {
    const char* data;
    std::size_t size;
};
// The same for pieces written one after another (a file made of parts
// spread over memory need not be gathered first).
bool WriteFileAtomically(const std::string& path, const std::vector<FilePiece>& pieces);

// Puts the file `from` in place of `to` in one step (replacing it); false
// when that fails, and then both stay as they were.
bool MoveFileReplacing(const std::string& from, const std::string& to);

// Removes a file; false when it could not be removed.
bool RemoveFile(const std::string& path);

// True when `path` names something whose status can be read.
bool FileExists(const std::string& path);

}  // namespace corv
