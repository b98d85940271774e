// list.txt: any bytes load; the count is the number of pictures; what was
// loaded is written as the program writes the file (in the code page, or
// UTF-8 with the mark) and read back with the same folders and pictures
// when its texts are UTF-8 (as the system's code page always gives them)
// and its lines whole.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/utf8.h"
#include "engine/app_state.h"
#include "engine/catalogue.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    corv::AppState state;
    const int pictures = corv::ParseCatalogue(state, text);
    FUZZ_CHECK(pictures >= 0 && static_cast<std::size_t>(pictures) == state.pictureList.size());
    for (const corv::FolderEntry& folder : state.folderList)
        FUZZ_CHECK(corv::FolderEntryLine(folder).find('\n') == std::string::npos);
    for (const std::string& line : state.pictureList)
        FUZZ_CHECK(line.find('\n') == std::string::npos);

    // Written and read again. Lines of UTF-8 without a carriage return come
    // back as they were, however long (a line too long for the old line
    // buffer makes the file UTF-8).
    corv::AppState back;
    corv::ParseCatalogue(back, corv::CatalogueFileBytes(state));
    bool plain = true;
    std::vector<std::string> lines = state.pictureList;
    for (const corv::FolderEntry& folder : state.folderList)
        lines.push_back(corv::FolderEntryLine(folder));
    for (const std::string& line : lines)
        if (!corv::IsValidUtf8(line) || line.find('\r') != std::string::npos) plain = false;
    if (plain) {
        FUZZ_CHECK(back.folderList == state.folderList);
        if (!state.folderList.empty()) FUZZ_CHECK(back.pictureList == state.pictureList);
    }
    return 0;
}
