// The page's picture: the mirror, its RGBA frame and the changed rectangles (see web_picture.h).
#include "services/web/web_picture.h"

#include <vector>

#include "services/graphics/picture.h"
#include "services/graphics/surface_mirror.h"

namespace {

SurfaceMirror mirror;
std::vector<uint32_t> rgba;  // the mirror's frame through the palette, as the canvas holds it
int32_t boxes[ChangedRegion::kMaxBoxes][4];

// The palette in the canvas's byte order.
const ColourTable& canvas_colours() {
  static const ColourTable table = make_colour_table(kRgbaBytes);
  return table;
}

}  // namespace

void web_picture_open(int width, int height) {
  mirror.resize(width, height);
  rgba.assign(static_cast<std::size_t>(mirror.width()) * static_cast<std::size_t>(mirror.height()),
              canvas_colours().pixel[0]);
}

int web_picture_update() {
  const MirrorChanges changes = mirror.update();
  const int pitch = mirror.width() * static_cast<int>(sizeof(uint32_t));
  convert_changed(mirror.pixels(), mirror.width(), changes.boxes, canvas_colours(), rgba.data(),
                  pitch);
  int count = 0;
  for (const SurfaceBox& box : changes.boxes) {
    int32_t* rect = boxes[count++];
    rect[0] = box.x1;
    rect[1] = box.y1;
    rect[2] = box.x2 - box.x1 + 1;
    rect[3] = box.y2 - box.y1 + 1;
  }
  return count;
}

const int32_t* web_picture_boxes() { return &boxes[0][0]; }
const uint32_t* web_picture_rgba() { return rgba.data(); }
int web_picture_width() { return mirror.width(); }
int web_picture_height() { return mirror.height(); }
