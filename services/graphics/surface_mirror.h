// A frame that mirrors the process's surface, for an edition that shows it: the desktop's window
// thread and the page's repaint each keep one and convert from it, never from the surface.
//
// The frame has the size its owner gives it (the size the presenter opened the surface with).
// An update takes drawing_lock() once, does any deferred drawing (graphics.h), copies into the
// frame the region of the surface changed since the last update (see ChangedRegion in surface.h)
// and clears surface_changed; nothing else happens under the lock, so drawing waits at most for
// the deferred drawing and one copy of what changed. After an update the frame equals the
// surface, pixel for pixel, while the surface is open at the frame's size; while it is closed or
// of another size the frame is black.
//
// An update answers which parts of the frame are new: the changed boxes, or all of it after the
// frame was resized and whenever the surface opened, closed or has another size than the frame
// (the whole frame is then also the one box). An edition converts those boxes into its own
// pixels; after "all" it shows the whole picture again (the window's black bars, a fresh canvas).
//
// The surface keeps one changed region, and an update takes it: a process has one mirror that
// follows the surface (a second one would see only what the first left).
#pragma once

#include <cstdint>
#include <vector>

#include "services/graphics/surface.h"

// What an update brought into the frame.
struct MirrorChanges {
  bool all = false;      // the whole frame is new (and is the one box below)
  ChangedRegion boxes;   // where the frame changed; empty when nothing did
};

class SurfaceMirror {
 public:
  // Mirrors a width x height surface from now on: the frame is black, and the next update
  // brings all of it.
  void resize(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }
  // The frame, row-major, width() per row.
  const uint8_t* pixels() const { return frame_.data(); }

  // Brings the frame up to date with the surface (any deferred drawing done first). Without a
  // resize since the last update, it takes no lock and answers nothing changed when neither
  // surface_changed is set nor a drawing is deferred.
  MirrorChanges update();

 private:
  bool copy_changes(ChangedRegion& changed, bool whole);
  MirrorChanges all_changed();

  std::vector<uint8_t> frame_;
  int width_ = 0, height_ = 0;
  bool resized_ = false;   // resized since the last update
  bool mirrored_ = false;  // the last update found the surface open at the frame's size
};
