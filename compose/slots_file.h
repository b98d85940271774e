// poslist.txt: the placement slots, one rectangle a line as
// "left,top,right,bottom" in signed decimal, slot 0 first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/app_state.h"

namespace corv {

// More slots than anyone draws on a screen; a longer file is garbage and
// only its first slots are taken, so the slot editor never has to open
// thousands of windows.
constexpr std::size_t kMaxSlots = 1000;

// The sides a slot may have: at least 200 pixels, at most three quarters of
// the screen width cut down to a multiple of 10 (never below the least).
constexpr int32_t kMinSlotSide = 200;
int32_t MaxSlotSide(int32_t screenWidth);
// `slot` at the nearest size it may have, its top-left corner kept: a slot
// too small (an empty line of the file gives 0,0,0,0) or too large in a
// dimension takes the nearest allowed side in that dimension.
SlotRect NearestAllowedSlot(const SlotRect& slot, int32_t screenWidth);

// The slots file beside the program.
std::string SlotsFilePath(const std::string& programDir);

// Appends the slots of the file at `path` to `slots`. Every line read adds
// one slot, an empty one too (0,0,0,0); a line is read as a 100-byte line
// buffer reads it, so a longer line goes on as the next slot. Pieces are
// split at runs of commas and read as decimal numbers, anything unreadable
// as 0. False when the file cannot be read (or is unreasonably large);
// `slots` is then unchanged.
bool LoadSlots(const std::string& path, std::vector<SlotRect>& slots);
// The same for the file's text.
void ParseSlots(const std::string& data, std::vector<SlotRect>& slots);

// Writes every slot as "left,top,right,bottom" and a line end, replacing
// the file in one step. False when it cannot be written; the old file then
// stays as it was.
bool SaveSlots(const std::string& path, const std::vector<SlotRect>& slots);
// The file's text before line ends become CR LF.
std::string SlotsText(const std::vector<SlotRect>& slots);

}  // namespace corv
