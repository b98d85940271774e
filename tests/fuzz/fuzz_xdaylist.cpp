// xdaylist.txt: any text loads; keys never hold a "-", and the calendar's
// colour lookup works for every day of every month with what was loaded.
#include <cstddef>
#include <cstdint>
#include <string>

#include "compose/calendar.h"
#include "engine/settings.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    corv::SpecialDays days;
    corv::ParseSpecialDays(text, days);
    for (const auto& entry : days) FUZZ_CHECK(entry.first.find('-') == std::string::npos);
    corv::Settings settings;
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= corv::DaysInMonth(month, 2008); ++day)
            FUZZ_CHECK((corv::DayColor(day, month, 1, settings, days) >> 24) == 0xFF);
    return 0;
}
