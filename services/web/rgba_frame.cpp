// The canvas's RGBA frame (see rgba_frame.h).
#include "services/web/rgba_frame.h"

#include "services/graphics/picture.h"

namespace {

// The palette in the canvas's byte order.
const ColourTable& canvas_colours() {
  static const ColourTable table = make_colour_table(kRgbaBytes);
  return table;
}

}  // namespace

void RgbaFrame::resize(int width, int height) {
  width_ = width;
  height_ = height;
  rgba_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
               canvas_colours().pixel[0]);
}

int RgbaFrame::convert(const uint8_t* indices, const ChangedRegion& changed) {
  const int pitch = width_ * static_cast<int>(sizeof(uint32_t));
  convert_changed(indices, width_, changed, canvas_colours(), rgba_.data(), pitch);
  int count = 0;
  for (const SurfaceBox& box : changed) {
    int32_t* rect = boxes_[count++];
    rect[0] = box.x1;
    rect[1] = box.y1;
    rect[2] = box.x2 - box.x1 + 1;
    rect[3] = box.y2 - box.y1 + 1;
  }
  return count;
}
