// env.ini: any text parses; the settings read from it survive a save and a
// second read unchanged; a written key reads back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/profile.h"
#include "engine/settings.h"
#include "fuzz_check.h"

namespace {

std::string SettingsText(const corv::Settings& settings, const std::vector<std::string>& programs) {
    corv::ProfileFile out("unused");
    corv::SaveSettings(settings, programs, out);
    return out.Serialize();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    corv::ProfileFile profile("unused");
    profile.Parse(text);
    corv::Settings first;
    std::vector<std::string> firstPrograms;
    corv::LoadSettings(first, firstPrograms, profile);

    // Saved into the same file and read again: nothing is lost or changed.
    corv::SaveSettings(first, firstPrograms, profile);
    corv::ProfileFile again("unused");
    again.Parse(profile.Serialize());
    corv::Settings second;
    std::vector<std::string> secondPrograms;
    corv::LoadSettings(second, secondPrograms, again);
    FUZZ_CHECK(SettingsText(first, firstPrograms) == SettingsText(second, secondPrograms));

    // A key written reads back as written.
    again.Write(corv::kSettingsSection, "picmaxsize", "123");
    FUZZ_CHECK(again.Read(corv::kSettingsSection, "picmaxsize", "", 256) == "123");
    return 0;
}
