// The Windows implementations of the core's seams.
#pragma once

#include "engine/platform.h"

namespace corv {

// The C runtime's rand(), seeded by the program at start.
class CrtRandom : public Random {
public:
    int Next() override;
};

class SystemClock : public Clock {
public:
    uint32_t TickCount() override;
    LocalDate Today() override;
};

// FindFirstFileW / FindNextFileW over folder + "\*.*", names in UTF-8.
class Win32FileSystem : public FileSystem {
public:
    bool ForEachEntry(const std::string& folder,
                      const std::function<void(const DirEntry&)>& visit) override;
    bool Exists(const std::string& path) override;
};

}  // namespace corv
