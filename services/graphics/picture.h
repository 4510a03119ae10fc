// How an edition shows the surface: the surface size it asks for, where the picture goes in the
// space it has, and the palette turned into 32-bit pixels. Both editions (the desktop window and
// the page's canvas) follow these rules, so the picture is sized, placed and coloured alike.
//
// Sizes are in the edition's pixels (window pixels, CSS pixels). A picture is shown at the
// largest whole multiple of the surface that fits, each surface pixel a crisp block; only a space
// smaller than the surface shows it shrunk, smoothed so that thin lines survive. A fractional
// zoom (the desktop's --zoom 1.5) asks instead that the picture fill the space, scaled smoothly
// by whatever fraction fits.
#pragma once

#include <cstddef>
#include <cstdint>

class ChangedRegion;

// The smallest surface the programs' 640 x 480 design grid needs.
constexpr int kMinSurfaceWidth = 640;
constexpr int kMinSurfaceHeight = 480;

// The surface size for a usable area, a frame around it (left + right, top + bottom) and a zoom
// of 1 or more: the area left inside the frame divided by the zoom and cut to whole pixels,
// never less than 640 x 480.
void measure_surface(int usable_w, int usable_h, int frame_w, int frame_h, double zoom, int& width,
                     int& height);

// The largest zoom, fractional where the area's proportions make it so, that leaves a usable
// area of usable_w x usable_h at least 640 x 480 (less than 1 for a smaller area).
double largest_zoom(int usable_w, int usable_h);

// Whether a zoom is a whole number, shown as crisp blocks; any other fills its space smoothly.
bool whole_zoom(double zoom);

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
};

// Where a picture_w x picture_h picture goes in an output_w x output_h space: as large as fits
// with its proportions kept, centred; the rest of the space is black.
Rect fit_picture(int picture_w, int picture_h, int output_w, int output_h);

// How a picture is scaled into its space: by the largest whole multiple that fits (and shrunk
// only in a smaller space), or filling the space by any fraction.
enum class PictureScaling : uint8_t { WholeMultiple, Fill };

// How the picture is shown: enlarged by the largest whole multiple that fits, each surface pixel
// a crisp block, or, in a space smaller than the picture or when asked to fill the space, scaled
// by the fraction that fits.
struct Placement {
  Rect target;
  bool whole_multiple = false;  // false: scaled by a fraction, smoothed so thin lines survive
};
Placement place_picture(int picture_w, int picture_h, int output_w, int output_h,
                        PictureScaling scaling = PictureScaling::WholeMultiple);

// Where the channels of a 32-bit pixel lie: each colour channel's 8 bits at its shift, and the
// bits that make the pixel opaque (0 where the format has no alpha).
struct PixelLayout {
  int red_shift, green_shift, blue_shift;
  uint32_t opaque;
};

// ARGB8888 as a 32-bit value (0xAARRGGBB).
constexpr PixelLayout kArgb{16, 8, 0, 0xFF000000u};
// R, G, B, A bytes in memory order on a little-endian machine, as a canvas's ImageData holds them.
constexpr PixelLayout kRgbaBytes{0, 8, 16, 0xFF000000u};

// Palette index -> 32-bit pixel value, opaque.
struct ColourTable {
  uint32_t pixel[256];
};
ColourTable make_colour_table(const PixelLayout& layout);

// Converts `count` palette indices into 32-bit pixels through the table.
void convert_pixels(const uint8_t* indices, std::size_t count, const ColourTable& table,
                    uint32_t* pixels);

// Converts the boxes of `changed` from an 8-bit frame `width` pixels wide into the same places of
// a 32-bit picture whose rows are `pitch` bytes apart.
void convert_changed(const uint8_t* frame, int width, const ChangedRegion& changed,
                     const ColourTable& table, void* picture, std::ptrdiff_t pitch);
