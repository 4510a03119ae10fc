// A picture for a canvas: an 8-bit frame of palette indices converted into RGBA (the byte order
// of a canvas's ImageData), box by box, with the boxes of the last conversion for the page to put
// onto its canvas. The page's surface picture and its console picture are each one.
#pragma once

#include <cstdint>
#include <vector>

#include "services/graphics/surface.h"

class RgbaFrame {
 public:
  // A width x height frame, black; the page's canvas is new and blank too.
  void resize(int width, int height);

  // Converts the boxes of `changed` from `indices` (width() per row, the same size as this
  // frame) and keeps them for boxes(); answers how many there are (0: nothing changed).
  int convert(const uint8_t* indices, const ChangedRegion& changed);

  // The boxes of the last conversion, four numbers each: x, y, width, height.
  const int32_t* boxes() const { return &boxes_[0][0]; }
  const uint32_t* pixels() const { return rgba_.data(); }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  std::vector<uint32_t> rgba_;
  int width_ = 0, height_ = 0;
  int32_t boxes_[ChangedRegion::kMaxBoxes][4] = {};
};
