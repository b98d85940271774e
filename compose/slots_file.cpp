#include "compose/slots_file.h"

#include <cstdio>

#include "engine/file_io.h"
#include "engine/paths.h"
#include "engine/settings.h"
#include "engine/text_lines.h"

namespace corv {

namespace {

constexpr std::size_t kMaxSlotsFile = 16u * 1024u * 1024u;
constexpr std::size_t kLineBuffer = 100;

// The first four pieces of `line` between runs of commas; missing pieces
// stay empty.
void SplitAtCommas(const std::string& line, std::string (&pieces)[4]) {
    std::size_t pos = 0;
    for (std::string& piece : pieces) {
        piece.clear();
        pos = line.find_first_not_of(',', pos);
        if (pos == std::string::npos) continue;
        std::size_t end = line.find(',', pos);
        if (end == std::string::npos) end = line.size();
        piece = line.substr(pos, end - pos);
        pos = end;
    }
}

}  // namespace

int32_t MaxSlotSide(int32_t screenWidth) {
    const int32_t side = static_cast<int32_t>(static_cast<int64_t>(screenWidth) * 3 / 4 / 10 * 10);
    return side < kMinSlotSide ? kMinSlotSide : side;
}

SlotRect NearestAllowedSlot(const SlotRect& slot, int32_t screenWidth) {
    const int64_t largest = MaxSlotSide(screenWidth);
    auto side = [largest](int64_t length) {
        return length < kMinSlotSide ? kMinSlotSide : (length > largest ? largest : length);
    };
    const int64_t width = side(static_cast<int64_t>(slot.right) - slot.left);
    const int64_t height = side(static_cast<int64_t>(slot.bottom) - slot.top);
    SlotRect allowed = slot;
    allowed.right = static_cast<int32_t>(slot.left + width);
    allowed.bottom = static_cast<int32_t>(slot.top + height);
    return allowed;
}

std::string SlotsFilePath(const std::string& programDir) {
    return JoinPath(programDir, "poslist.txt");
}

bool LoadSlots(const std::string& path, std::vector<SlotRect>& slots) {
    std::string data;
    if (ReadWholeFile(path, data, kMaxSlotsFile) != ReadResult::Ok) return false;
    ParseSlots(data, slots);
    return true;
}

void ParseSlots(const std::string& data, std::vector<SlotRect>& slots) {
    std::string pieces[4];
    for (std::string& line : SplitTextLines(WithoutUtf8Mark(data), kLineBuffer)) {
        if (slots.size() >= kMaxSlots) break;
        // The line buffer is a C string: a zero byte ends what is seen of it.
        const std::size_t zero = line.find('\0');
        if (zero != std::string::npos) line.resize(zero);
        SplitAtCommas(line, pieces);
        slots.push_back(SlotRect{ParseDecimal(pieces[0]), ParseDecimal(pieces[1]),
                                 ParseDecimal(pieces[2]), ParseDecimal(pieces[3])});
    }
}

bool SaveSlots(const std::string& path, const std::vector<SlotRect>& slots) {
    return WriteFileAtomically(path, ToTextMode(SlotsText(slots)));
}

std::string SlotsText(const std::vector<SlotRect>& slots) {
    std::string text;
    char line[64];
    for (const SlotRect& s : slots) {
        std::snprintf(line, sizeof line, "%d,%d,%d,%d\n", static_cast<int>(s.left),
                      static_cast<int>(s.top), static_cast<int>(s.right),
                      static_cast<int>(s.bottom));
        text += line;
    }
    return text;
}

}  // namespace corv
