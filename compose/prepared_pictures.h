// Pictures decoded ahead of the change that draws them: a small cache of
// plain pixel buffers keyed by the file, the size the picture is decoded
// for and the file's size and write time, so a picture changed or deleted
// after it was prepared is never drawn. A worker thread fills it; a change
// (one per screen) asks it for its picture and decodes on the spot when
// there is none. It holds no object of the imaging library, so the two
// threads share nothing but plain memory under its lock.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "compose/imaging.h"
#include "engine/app_state.h"

namespace corv {

// A file's size and last write time; `present` is false for a file that
// is not there (or cannot be asked).
struct FileStamp {
    bool present = false;
    uint64_t size = 0;
    uint64_t writeTime = 0;
};

inline bool operator==(const FileStamp& a, const FileStamp& b) {
    return a.present == b.present && a.size == b.size && a.writeTime == b.writeTime;
}

struct PreparedKey {
    std::string path;
    NeededSize need;
    FileStamp stamp;
};

bool operator==(const PreparedKey& a, const PreparedKey& b);

// A decoded picture, stood upright, in plain memory: rows of B, G, R
// (Rgb24) or B, G, R, A with straight alpha (Argb32), `stride` bytes apart.
// It may be decoded smaller than the picture is (denominator 2, 4 or 8).
struct PreparedPixels {
    int32_t logicalWidth = 0;  // the picture's full size, upright
    int32_t logicalHeight = 0;
    int denominator = 1;
    int bitsPerPixel = 24;  // as the file stores it
    int32_t width = 0;      // of the rows
    int32_t height = 0;
    int32_t stride = 0;
    PixelFormat format = PixelFormat::Rgb24;
    std::vector<uint8_t> bytes;
};

class PreparedPictures {
public:
    // At most `capacity` pictures are kept; the oldest goes first.
    explicit PreparedPictures(std::size_t capacity = 4) : capacity_(capacity) {}

    // The picture prepared for exactly this key, or null.
    std::shared_ptr<const PreparedPixels> Find(const PreparedKey& key) const;
    // Keeps `pixels` for `key`, in place of anything kept for the same path.
    void Put(const PreparedKey& key, std::shared_ptr<const PreparedPixels> pixels);
    // Lets go of every picture whose path is not in `paths`.
    void KeepOnly(const std::vector<std::string>& paths);
    std::size_t Count() const;

private:
    struct Entry {
        PreparedKey key;
        std::shared_ptr<const PreparedPixels> pixels;
    };
    mutable std::mutex lock_;
    std::vector<Entry> entries_;  // oldest first
    std::size_t capacity_;
};

// A picture to prepare, and the size it will be drawn at.
struct PreparedRequest {
    std::string path;
    NeededSize need;
};

// What to do after a change: the pictures worth keeping (the one shown,
// the one before it for the previous-picture command, and those of the
// picks made ahead) and the pictures of the picks made ahead, each with
// the size its change will draw it at. Nothing to prepare while the
// picture step is off.
struct PrefetchPlan {
    std::vector<std::string> keep;
    std::vector<PreparedRequest> prepare;
};

// `needs`: what NextPictureNeeds gives, one for each pick made ahead.
PrefetchPlan PlanPrefetch(const AppState& state, const std::vector<NeededSize>& needs);

}  // namespace corv
