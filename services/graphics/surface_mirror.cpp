// The mirror of the surface (see surface_mirror.h).
//
// mirrored_ says whether the frame held the surface after the last update; only then can the
// changed region alone bring it up to date. Otherwise (a resize, a surface closed or of another
// size in between) the whole surface is copied, or the frame goes black.
#include "services/graphics/surface_mirror.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "services/graphics/presenter.h"

void SurfaceMirror::resize(int width, int height) {
  width_ = std::max(0, width);
  height_ = std::max(0, height);
  frame_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
  resized_ = true;
  mirrored_ = false;
}

MirrorChanges SurfaceMirror::update() {
  if (!resized_ && !surface_changed.load(std::memory_order_acquire) && !drawing_deferred()) {
    return {};
  }
  const bool was_mirrored = mirrored_;
  ChangedRegion changed;
  mirrored_ = copy_changes(changed, !was_mirrored);
  resized_ = false;
  if (!mirrored_) {
    if (was_mirrored) std::fill(frame_.begin(), frame_.end(), 0);
    return all_changed();
  }
  if (!was_mirrored) return all_changed();
  return {false, changed};
}

// Under the lock: takes the surface's changes and copies them into the frame, or the whole
// surface when `whole` (the frame does not hold it yet). False, leaving the frame alone, when the
// surface is closed or has another size; its changes are dropped then, as a surface that opens
// is new all over. The surface is read (which does any deferred drawing) before the flag is
// cleared, so that the deferred drawing's changes do not raise it again.
bool SurfaceMirror::copy_changes(ChangedRegion& changed, bool whole) {
  std::lock_guard<std::mutex> lock(drawing_lock());
  const Surface& surface = current_surface();
  surface_changed.store(false, std::memory_order_relaxed);
  changed = take_surface_changes();
  if (!surface.is_open() || surface.width() != width_ || surface.height() != height_) {
    return false;
  }
  if (whole) {
    std::memcpy(frame_.data(), surface.pixels(), frame_.size());
    return true;
  }
  const auto width = static_cast<std::size_t>(width_);
  for (const SurfaceBox& box : changed) {
    const auto count = static_cast<std::size_t>(box.x2 - box.x1 + 1);
    for (int y = box.y1; y <= box.y2; ++y) {
      const std::size_t at = static_cast<std::size_t>(y) * width + static_cast<std::size_t>(box.x1);
      std::memcpy(frame_.data() + at, surface.pixels() + at, count);
    }
  }
  return true;
}

// The whole frame as the one changed box (none for an empty frame).
MirrorChanges SurfaceMirror::all_changed() {
  MirrorChanges changes;
  changes.all = true;
  changes.boxes.add(SurfaceBox{0, 0, width_ - 1, height_ - 1});
  return changes;
}
