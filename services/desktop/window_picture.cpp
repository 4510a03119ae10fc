// The window's picture: conversion from the mirror's frame and showing on the window's surface
// (see window_picture.h).
#include "services/desktop/window_picture.h"

#include <SDL.h>

// The palette in the channel layout of a 32-bit SDL pixel format.
static ColourTable sdl_colour_table(const SDL_PixelFormat* format) {
  return make_colour_table(PixelLayout{format->Rshift, format->Gshift, format->Bshift,
                                       format->Amask});
}

bool WindowPicture::create(uint32_t format, int width, int height) {
  destroy();
  if (SDL_BYTESPERPIXEL(format) != 4 || SDL_ISPIXELFORMAT_INDEXED(format)) {
    format = SDL_PIXELFORMAT_ARGB8888;
  }
  picture_ = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, format);
  if (picture_ == nullptr) return false;
  SDL_SetSurfaceBlendMode(picture_, SDL_BLENDMODE_NONE);  // copies replace, whatever the alpha
  colours_ = sdl_colour_table(picture_->format);
  SDL_FillRect(picture_, nullptr, colours_.pixel[0]);
  return true;
}

void WindowPicture::destroy() {
  if (picture_ != nullptr) SDL_FreeSurface(picture_);
  picture_ = nullptr;
}

void WindowPicture::convert(const uint8_t* frame, const ChangedRegion& changed) {
  convert_changed(frame, picture_->w, changed, colours_, picture_->pixels, picture_->pitch);
}

void WindowPicture::convert_all(const uint8_t* frame) {
  ChangedRegion all;
  all.add(SurfaceBox{0, 0, picture_->w - 1, picture_->h - 1});
  convert(frame, all);
}

// Whole multiples of the picture (1x included) copy only the changed boxes, each surface pixel a
// crisp block; a window smaller than the picture, or one the picture fills, shows all of it
// scaled, smoothed.
WindowPicture::Update WindowPicture::show(SDL_Surface* shown, const ChangedRegion* changed,
                                          PictureScaling scaling) const {
  Update update;
  const Placement placement = place_picture(picture_->w, picture_->h, shown->w, shown->h, scaling);
  const Rect fit = placement.target;
  const int multiple = placement.whole_multiple ? fit.w / picture_->w : 0;
  if (multiple >= 1 && changed != nullptr) {
    for (const SurfaceBox& box : *changed) {
      const Rect from{box.x1, box.y1, box.x2 - box.x1 + 1, box.y2 - box.y1 + 1};
      const Rect rect{fit.x + box.x1 * multiple, fit.y + box.y1 * multiple, from.w * multiple,
                      from.h * multiple};
      blit(from, rect, multiple, shown);
      update.rects[update.count++] = rect;
    }
    return update;
  }
  update.whole = true;
  if (fit.x > 0 || fit.y > 0 || fit.w < shown->w || fit.h < shown->h) {
    SDL_FillRect(shown, nullptr, SDL_MapRGB(shown->format, 0, 0, 0));
  }
  if (fit.w <= 0 || fit.h <= 0) return update;
  if (multiple >= 1) {
    blit(Rect{0, 0, picture_->w, picture_->h}, fit, multiple, shown);
    return update;
  }
  SDL_Rect to{fit.x, fit.y, fit.w, fit.h};
  if (picture_->format->format == shown->format->format) {
    SDL_SoftStretchLinear(picture_, nullptr, shown, &to);
  } else {
    SDL_BlitScaled(picture_, nullptr, shown, &to);  // nearest pixel: formats differ
  }
  return update;
}

// A part of the picture onto the window, enlarged `multiple` times (nearest pixel).
void WindowPicture::blit(const Rect& part, const Rect& to, int multiple, SDL_Surface* shown) const {
  SDL_Rect from{part.x, part.y, part.w, part.h};
  SDL_Rect target{to.x, to.y, to.w, to.h};
  if (multiple == 1) {
    SDL_BlitSurface(picture_, &from, shown, &target);
  } else {
    SDL_BlitScaled(picture_, &from, shown, &target);
  }
}
