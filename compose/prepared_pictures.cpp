#include "compose/prepared_pictures.h"

#include <algorithm>
#include <utility>

#include "compose/composer.h"

namespace corv {

bool operator==(const PreparedKey& a, const PreparedKey& b) {
    return a.path == b.path && a.need.width == b.need.width && a.need.height == b.need.height &&
           a.need.stretched == b.need.stretched && a.stamp == b.stamp;
}

std::shared_ptr<const PreparedPixels> PreparedPictures::Find(const PreparedKey& key) const {
    std::lock_guard<std::mutex> hold(lock_);
    for (const Entry& entry : entries_)
        if (entry.key == key) return entry.pixels;
    return nullptr;
}

void PreparedPictures::Put(const PreparedKey& key, std::shared_ptr<const PreparedPixels> pixels) {
    if (!pixels) return;
    std::lock_guard<std::mutex> hold(lock_);
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& e) { return e.key.path == key.path; }),
                   entries_.end());
    entries_.push_back(Entry{key, std::move(pixels)});
    while (entries_.size() > capacity_) entries_.erase(entries_.begin());
}

void PreparedPictures::KeepOnly(const std::vector<std::string>& paths) {
    std::lock_guard<std::mutex> hold(lock_);
    entries_.erase(std::remove_if(entries_.begin(), entries_.end(),
                                  [&](const Entry& e) {
                                      return std::find(paths.begin(), paths.end(), e.key.path) ==
                                             paths.end();
                                  }),
                   entries_.end());
}

std::size_t PreparedPictures::Count() const {
    std::lock_guard<std::mutex> hold(lock_);
    return entries_.size();
}

PrefetchPlan PlanPrefetch(const AppState& state, const std::vector<NeededSize>& needs) {
    PrefetchPlan plan;
    for (const std::string* path : {&state.previousPicture, &state.currentPicture})
        if (!path->empty()) plan.keep.push_back(*path);
    for (std::size_t i = 0; i < state.picksAhead.size(); ++i) {
        const std::string& path = state.picksAhead[i].picture;
        if (path.empty()) continue;
        plan.keep.push_back(path);
        if (state.settings.isforeimg)
            plan.prepare.push_back(
                PreparedRequest{path, i < needs.size() ? needs[i] : PictureNeed(state, i)});
    }
    return plan;
}

}  // namespace corv
