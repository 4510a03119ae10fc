// Sizing, placing and colouring the picture of the surface (see picture.h).
#include "services/graphics/picture.h"

#include <algorithm>
#include <cmath>

#include "services/graphics/surface.h"

namespace {

// A length divided by the zoom, cut to whole pixels. The tolerance keeps a division that is
// exact on paper (768 / 1.6) from losing a pixel to the zoom's binary rounding.
int divided_by_zoom(int length, double zoom) {
  return static_cast<int>(std::floor(length / zoom + 1e-9));
}

}  // namespace

void measure_surface(int usable_w, int usable_h, int frame_w, int frame_h, double zoom, int& width,
                     int& height) {
  zoom = std::max(1.0, zoom);
  width = std::max(kMinSurfaceWidth, divided_by_zoom(usable_w - std::max(0, frame_w), zoom));
  height = std::max(kMinSurfaceHeight, divided_by_zoom(usable_h - std::max(0, frame_h), zoom));
}

double largest_zoom(int usable_w, int usable_h) {
  return std::min(static_cast<double>(usable_w) / kMinSurfaceWidth,
                  static_cast<double>(usable_h) / kMinSurfaceHeight);
}

bool whole_zoom(double zoom) { return zoom == std::floor(zoom); }

Rect fit_picture(int picture_w, int picture_h, int output_w, int output_h) {
  if (picture_w <= 0 || picture_h <= 0 || output_w <= 0 || output_h <= 0) return {};
  // Compare the two aspect ratios exactly: output_w / output_h against picture_w / picture_h.
  const int64_t across = int64_t{output_w} * picture_h;
  const int64_t down = int64_t{output_h} * picture_w;
  Rect r;
  if (across <= down) {  // the width limits the picture
    r.w = output_w;
    r.h = static_cast<int>(across / picture_w);
  } else {
    r.h = output_h;
    r.w = static_cast<int>(down / picture_h);
  }
  r.x = (output_w - r.w) / 2;
  r.y = (output_h - r.h) / 2;
  return r;
}

Placement place_picture(int picture_w, int picture_h, int output_w, int output_h,
                        PictureScaling scaling) {
  if (picture_w <= 0 || picture_h <= 0) return {};
  const int multiple = std::min(output_w / picture_w, output_h / picture_h);
  if (multiple < 1 || scaling == PictureScaling::Fill) {
    return {fit_picture(picture_w, picture_h, output_w, output_h), false};
  }
  const int w = picture_w * multiple, h = picture_h * multiple;
  return {{(output_w - w) / 2, (output_h - h) / 2, w, h}, true};
}

ColourTable make_colour_table(const PixelLayout& layout) {
  ColourTable table{};
  for (int i = 0; i < 256; ++i) {
    const uint32_t rgb = kPalette[i];
    table.pixel[i] = layout.opaque | ((rgb >> 16) & 0xFF) << layout.red_shift |
                     ((rgb >> 8) & 0xFF) << layout.green_shift | (rgb & 0xFF) << layout.blue_shift;
  }
  return table;
}

void convert_pixels(const uint8_t* indices, std::size_t count, const ColourTable& table,
                    uint32_t* pixels) {
  for (std::size_t i = 0; i < count; ++i) pixels[i] = table.pixel[indices[i]];
}

void convert_changed(const uint8_t* frame, int width, const ChangedRegion& changed,
                     const ColourTable& table, void* picture, std::ptrdiff_t pitch) {
  for (const SurfaceBox& box : changed) {
    const auto count = static_cast<std::size_t>(box.x2 - box.x1 + 1);
    for (int y = box.y1; y <= box.y2; ++y) {
      auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(picture) + y * pitch);
      convert_pixels(frame + static_cast<std::ptrdiff_t>(y) * width + box.x1, count, table,
                     row + box.x1);
    }
  }
}
