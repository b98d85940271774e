// poslist.txt: any text loads, never more than the slot limit; the slots
// read are written and read back exactly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "compose/slots_file.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<corv::SlotRect> slots;
    corv::ParseSlots(text, slots);
    FUZZ_CHECK(slots.size() <= corv::kMaxSlots);
    std::vector<corv::SlotRect> back;
    corv::ParseSlots(corv::SlotsText(slots), back);
    FUZZ_CHECK(back == slots);
    return 0;
}
