// Folder lists written as list.txt's lines, for the tests.
#pragma once

#include <initializer_list>
#include <string>
#include <vector>

#include "engine/catalogue.h"

namespace corvtest {

inline std::vector<corv::FolderEntry> Folders(std::initializer_list<std::string> lines) {
    std::vector<corv::FolderEntry> folders;
    for (const std::string& line : lines) folders.push_back(corv::SplitFolderEntry(line));
    return folders;
}

inline std::vector<std::string> Lines(const std::vector<corv::FolderEntry>& folders) {
    std::vector<std::string> lines;
    for (const corv::FolderEntry& folder : folders) lines.push_back(corv::FolderEntryLine(folder));
    return lines;
}

}  // namespace corvtest
