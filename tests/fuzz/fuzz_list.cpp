// list.txt: any text loads; the count is the number of pictures; what was
// loaded is written and read back with the same folders and pictures when
// the file held whole lines.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

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

    // Written and read again. Lines of up to 259 bytes without a carriage
    // return or a lone "&" among the folders come back as they were.
    corv::AppState back;
    corv::ParseCatalogue(back, corv::CatalogueText(state));
    bool plain = true;
    std::vector<std::string> lines = state.pictureList;
    for (const corv::FolderEntry& folder : state.folderList)
        lines.push_back(corv::FolderEntryLine(folder));
    for (const std::string& line : lines)
        if (line.size() >= 259 || line.find('\r') != std::string::npos) plain = false;
    if (plain) {
        FUZZ_CHECK(back.folderList == state.folderList);
        if (!state.folderList.empty()) FUZZ_CHECK(back.pictureList == state.pictureList);
    }
    return 0;
}
