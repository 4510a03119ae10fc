// The page's picture: the mirror, its RGBA frame and the changed rectangles (see web_picture.h).
#include "services/web/web_picture.h"

#include "services/graphics/surface_mirror.h"
#include "services/web/rgba_frame.h"

namespace {

SurfaceMirror mirror;
RgbaFrame frame;  // the mirror's frame through the palette, as the canvas holds it

}  // namespace

void web_picture_open(int width, int height) {
  mirror.resize(width, height);
  frame.resize(mirror.width(), mirror.height());
}

int web_picture_update() { return frame.convert(mirror.pixels(), mirror.update().boxes); }

const int32_t* web_picture_boxes() { return frame.boxes(); }
const uint32_t* web_picture_rgba() { return frame.pixels(); }
int web_picture_width() { return frame.width(); }
int web_picture_height() { return frame.height(); }
