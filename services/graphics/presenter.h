// How the graphics surface reaches the user: a presenter decides the surface's size at each
// opening and shows the surface's pixels. The window presenter (SDL2) runs on the main thread;
// the headless presenter (tests, benchmarks) shows nothing and has the size its creator chose.
// The host record (host.h) holds the presenter that open_graphics uses.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>

class ChangedRegion;
class Surface;

class Presenter {
 public:
  virtual ~Presenter() = default;
  // Called by open_graphics on the logic thread. Sets the surface size for this opening and
  // returns true, or returns false when there is no display to show a surface on.
  virtual bool open_window(int& width, int& height) = 0;
  // Called by close_graphics on the logic thread: the window goes away.
  virtual void close_window() = 0;
};

// The lock every drawing operation holds while it changes the surface; a repaint holds it while
// it copies the pixels out.
std::mutex& drawing_lock();
// The surface itself, with any deferred drawing (graphics.h) done first. Read it only while
// holding drawing_lock().
const Surface& current_surface();
// Takes the region of the surface changed since the last call (the whole surface after an
// opening), any deferred drawing done first, and starts a new one. Call it only while holding
// drawing_lock().
ChangedRegion take_surface_changes();
// True while a deferred drawing waits: the surface will change when it is next used or read.
bool drawing_deferred();
// Set by every drawing operation, cleared by the repaint that shows the change. A deferred
// drawing does not set it until it runs: a repaint looks at drawing_deferred() as well.
extern std::atomic<bool> surface_changed;
// How many times the calling thread has taken drawing_lock() for drawing (an operation outside
// a batch, or a batch), since the thread started; for tests and benchmarks.
uint64_t drawing_lock_count();

// A presenter with no window: every opening gives a surface of the size chosen here.
class HeadlessPresenter : public Presenter {
 public:
  HeadlessPresenter(int width, int height) : width_(width), height_(height) {}
  bool open_window(int& width, int& height) override {
    width = width_;
    height = height_;
    return true;
  }
  void close_window() override {}

 private:
  int width_, height_;
};
