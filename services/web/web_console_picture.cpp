// The page's console picture and its RGBA frame (see web_console_picture.h).
#include "services/web/web_console_picture.h"

#include "services/console/console.h"
#include "services/console/console_font.h"
#include "services/console/console_picture.h"
#include "services/program/host.h"
#include "services/web/rgba_frame.h"

namespace {

ConsolePicture picture;
RgbaFrame frame;  // the picture through the palette, as the console canvas holds it

}  // namespace

int web_console_picture_fit(int device_w, int device_h) {
  const int font = console_font_for(device_w, device_h);
  if (font != picture.font_index()) {
    picture.set_font(font);
    frame.resize(picture.width(), picture.height());
  }
  return font;
}

int web_console_picture_update(bool cursor_allowed) {
  if (picture.font_index() < 0) return 0;
  const bool cursor = cursor_allowed && cursor_shown_at(host_now());
  return frame.convert(picture.pixels(), picture.update(console_state(), cursor));
}

const int32_t* web_console_picture_boxes() { return frame.boxes(); }
const uint32_t* web_console_picture_rgba() { return frame.pixels(); }
const uint8_t* web_console_picture_indices() { return picture.pixels(); }
int web_console_picture_width() { return frame.width(); }
int web_console_picture_height() { return frame.height(); }
