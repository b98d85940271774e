// The small seams through which the portable core reaches the system:
// random numbers and the clock, and folder listings. Windows implementations
// live in platform_win.cpp; tests use their own plain classes.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace corv {

// The runtime's pseudo-random generator: values 0 to 32767.
class Random {
public:
    virtual ~Random() = default;
    virtual int Next() = 0;
};

struct LocalDate {
    int year = 0;
    int month = 0;    // 1-12
    int day = 0;      // 1-31
    int weekday = 0;  // 0 Sunday ... 6 Saturday
};

class Clock {
public:
    virtual ~Clock() = default;
    // Milliseconds since the system started, wrapping at 2^32.
    virtual uint32_t TickCount() = 0;
    virtual LocalDate Today() = 0;
};

struct DirEntry {
    std::string name;
    bool isDirectory = false;
    // A link or junction: never followed when scanning, so a cycle of
    // links cannot make a scan endless.
    bool isLink = false;
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Calls `visit` for every entry of `folder`, "." and ".." included, in
    // the order the system lists them. False when the folder cannot be read.
    virtual bool ForEachEntry(const std::string& folder,
                              const std::function<void(const DirEntry&)>& visit) = 0;
    virtual bool Exists(const std::string& path) = 0;
};

}  // namespace corv
