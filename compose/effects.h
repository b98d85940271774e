// Drawing the scaled picture onto the canvas with its effects: drop shadow,
// frame with a dark inner line, random rotation, or a mask that cuts the
// picture into a shape. Both drawing operations build the picture in a
// 32-bit layer with alpha and put that layer onto the canvas in one
// unscaled draw, so transparent corners let the background show through.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "compose/imaging.h"
#include "engine/platform.h"
#include "engine/settings.h"

namespace corv {

// What the effects need from the running program.
struct EffectsContext {
    const Settings& settings;
    Imaging& imaging;
    Random& random;
    const std::vector<std::string>& maskList;  // full paths of the mask files
    const std::string& programDir;             // holds the folder "effects"
};

// A picture without transparency (24 bits a pixel as stored): drawn
// straight onto the canvas where it is not turned.
bool IsOpaquePicture(const Image& picture);

// The shadow image, beside the program.
std::string DropShadowPath(const std::string& programDir);

// Side of the square layer that holds a w x h picture at any angle:
// the truncated diagonal.
int32_t RotationLayerSide(int32_t w, int32_t h);

// The random angle in whole degrees for a largest angle `rotateValue`:
// (r mod rotateValue) - rotateValue / 2. A largest angle of 0 or less gives
// 0 without drawing a random number.
int32_t PickRotationAngle(int32_t rotateValue, Random& random);

// Draws `picture` scaled to w x h with the top-left at (x, y), with the
// shadow, frame and rotation the settings ask for. A size below 1 pixel
// draws nothing.
void DrawPictureLayer(const EffectsContext& ctx, Surface& canvas, Image& picture, int32_t w,
                      int32_t h, int32_t x, int32_t y);

// Draws `picture` scaled to w x h at (x, y) through a mask (and rotated when
// the settings ask for it); frame and shadow are never drawn here. Without a
// usable mask (no mask files for the random choice, or a mask file that does
// not decode) the picture is drawn unmasked.
void DrawMaskedPicture(const EffectsContext& ctx, Surface& canvas, Image& picture, int32_t w,
                       int32_t h, int32_t x, int32_t y);

// layer.alpha := 255 - mask.red for every pixel both bitmaps share; the
// colour channels stay. Nothing changes when either bitmap cannot be locked.
void ApplyMaskAlpha(Imaging& imaging, Image& layer, Image& mask);

// A copy of a random entry of `maskList`; empty when the list is empty.
std::string PickRandomMask(const std::vector<std::string>& maskList, Random& random);

// Replaces `maskList` with the full paths of the files in `folder` whose
// names end in ".gif" (any case), in the order the system lists them.
// Folders are skipped. A folder that cannot be read gives an empty list.
void LoadMaskList(FileSystem& fileSystem, const std::string& folder,
                  std::vector<std::string>& maskList);

}  // namespace corv
