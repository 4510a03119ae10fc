// What the window shows of the surface: the mirror's frame (surface_mirror.h) converted through
// a 256-entry colour table into 32-bit pixels of the window's own format, and copied from there
// onto the window's surface. Main thread only.
//
// Conversion goes box by box: only the boxes that changed in the frame are converted. Showing
// follows place_picture (picture.h): a window at least as large as the picture shows it at the
// largest whole multiple that fits, each surface pixel a crisp block, and a change copies only
// its boxes there (enlarged and offset as the picture is); a smaller window shows the whole
// picture shrunk to fit with its proportions kept, filtered linearly so that thin lines survive.
// With PictureScaling::Fill (a fractional zoom) the whole picture is scaled smoothly to fill the
// window at every showing. Whatever the picture leaves of the window is black.
#pragma once

#include <cstdint>

#include "services/graphics/picture.h"
#include "services/graphics/surface.h"

struct SDL_Surface;

class WindowPicture {
 public:
  // Which rectangles of the window's surface a showing changed: the whole surface, or the list.
  struct Update {
    bool whole = false;
    int count = 0;
    Rect rects[ChangedRegion::kMaxBoxes];
  };

  WindowPicture() = default;
  ~WindowPicture() { destroy(); }
  WindowPicture(const WindowPicture&) = delete;
  WindowPicture& operator=(const WindowPicture&) = delete;

  // A black width x height picture in `format` (an SDL_PIXELFORMAT_ value; one that is not
  // 32 bits a pixel gives ARGB8888, which SDL converts when it copies). False when SDL cannot
  // make it.
  bool create(uint32_t format, int width, int height);
  void destroy();
  SDL_Surface* surface() const { return picture_; }

  // Converts the boxes of `changed` from the 8-bit frame (as wide as the picture) into the
  // picture; convert_all converts all of it.
  void convert(const uint8_t* frame, const ChangedRegion& changed);
  void convert_all(const uint8_t* frame);

  // Copies the picture onto `shown`, the window's surface, placed by place_picture with
  // `scaling`. At a whole multiple with `changed` given, only its boxes are copied (enlarged and
  // offset as the picture is); otherwise the whole picture, with black bars around it.
  Update show(SDL_Surface* shown, const ChangedRegion* changed,
              PictureScaling scaling = PictureScaling::WholeMultiple) const;

 private:
  void blit(const Rect& from, const Rect& to, int multiple, SDL_Surface* shown) const;

  SDL_Surface* picture_ = nullptr;
  ColourTable colours_{};
};
