// The process-wide graphics surface behind the functions of graphics.h and presenter.h.
//
// One Surface, one mutex (drawing_lock) and the host's presenter (host.h). The program logic calls
// these functions from its one thread; the window's repaint, on another thread, holds the same
// lock while it copies the pixels out, so it never shows half an operation. Each drawing
// operation takes the lock once (unless its thread holds a DrawingBatch, which has taken it
// already), checks that the surface is open (else throws GraphicsNotOpen), runs the Surface
// operation and raises surface_changed; nothing here allocates or makes a virtual call on the
// drawing path. The presenter is called only to open and close the window, and never while the
// lock is held: the window thread may need the lock to finish a repaint before it can answer.
//
// text_width, text_height and image_size depend on nothing but their arguments; they work whether
// or not a surface is open and take no lock.
//
// A deferred drawing (defer_drawing) is one atomic function pointer: the deferring thread stores
// it without the lock, and whoever next holds the lock takes it (an exchange, so it runs once)
// and runs it before anything else, with the thread counted as in a batch so that the drawing's
// operations do not take the lock again. Every way to the lock passes through that step: an
// operation, a batch, the opening and closing, current_surface and take_surface_changes.
#include "services/graphics/graphics.h"

#include <atomic>
#include <cassert>
#include <limits>
#include <mutex>

#include "services/graphics/png_image.h"
#include "services/graphics/presenter.h"
#include "services/graphics/surface.h"
#include "services/program/host.h"

std::atomic<bool> surface_changed{false};

namespace {

Surface the_surface;                         // guarded by the_lock
std::mutex the_lock;
int closed_result = kGraphOk;                // graph_result while no surface is open; the_lock
thread_local int batch_depth = 0;            // DrawingBatch nesting on this thread
thread_local uint64_t lock_count = 0;        // drawing_lock_count of this thread
std::atomic<DeferredDrawing> deferred{nullptr};  // the drawing left to whoever comes next

// Runs the deferred drawing, if one waits; the caller holds the lock. The thread counts as in a
// batch meanwhile, since the lock is already held. A closed surface drops the drawing.
void do_deferred_drawing() {
  if (deferred.load(std::memory_order_relaxed) == nullptr) return;
  const DeferredDrawing drawing = deferred.exchange(nullptr, std::memory_order_acquire);
  if (drawing == nullptr || !the_surface.is_open()) return;
  ++batch_depth;
  drawing();
  --batch_depth;
}

// The lock for one operation: taken here unless this thread's batch holds it already.
class OperationLock {
 public:
  OperationLock() : owner_(batch_depth == 0) {
    if (!owner_) return;
    the_lock.lock();
    ++lock_count;
    do_deferred_drawing();
  }
  ~OperationLock() {
    if (owner_) the_lock.unlock();
  }
  OperationLock(const OperationLock&) = delete;
  OperationLock& operator=(const OperationLock&) = delete;

 private:
  const bool owner_;
};

// Runs `operation` on the open surface under the lock and returns its result.
template <typename Operation>
auto with_surface(Operation&& operation) {
  OperationLock guard;
  if (!the_surface.is_open()) throw GraphicsNotOpen();
  return operation(the_surface);
}

// As with_surface, for operations that may change pixels: the repaint is told afterwards.
template <typename Operation>
void draw(Operation&& operation) {
  OperationLock guard;
  if (!the_surface.is_open()) throw GraphicsNotOpen();
  operation(the_surface);
  surface_changed.store(true, std::memory_order_release);
}

bool usable_size(int width, int height) {
  constexpr int kLargest = std::numeric_limits<int16_t>::max() + 1;  // get_max_x is 16-bit
  return width > 0 && height > 0 && width <= kLargest && height <= kLargest;
}

}  // namespace

std::mutex& drawing_lock() { return the_lock; }

uint64_t drawing_lock_count() { return lock_count; }

DrawingBatch::DrawingBatch() {
  if (batch_depth == 0) {
    the_lock.lock();
    ++lock_count;
    do_deferred_drawing();
  }
  ++batch_depth;
}

void defer_drawing(DeferredDrawing drawing) {
  // One read: another thread may do the pending drawing (and clear it) at any moment.
  [[maybe_unused]] const DeferredDrawing pending = deferred.load(std::memory_order_relaxed);
  assert(pending == nullptr || pending == drawing);
  deferred.store(drawing, std::memory_order_release);
}

bool drawing_deferred() { return deferred.load(std::memory_order_relaxed) != nullptr; }

DrawingBatch::~DrawingBatch() {
  if (--batch_depth == 0) the_lock.unlock();
}

const Surface& current_surface() {
  do_deferred_drawing();
  return the_surface;
}

ChangedRegion take_surface_changes() {
  do_deferred_drawing();
  return the_surface.take_changes();
}

// The presenter chooses the size; with no presenter, no display or an unusable size the surface
// stays closed and graph_result is -11. driver and mode are accepted as given and left unchanged.
void open_graphics(int16_t& /*driver*/, int16_t& /*mode*/, std::string_view /*driver_path*/) {
  assert(batch_depth == 0 && "open_graphics inside a DrawingBatch");
  Presenter* presenter = host().presenter;
  int width = 0, height = 0;
  const bool shown = presenter != nullptr && presenter->open_window(width, height);
  if (shown && !usable_size(width, height)) presenter->close_window();
  std::lock_guard<std::mutex> guard(the_lock);
  do_deferred_drawing();
  if (!shown || !usable_size(width, height)) {
    the_surface.close();
    closed_result = kGraphInvalidArgument;
  } else {
    the_surface.open(width, height);
    closed_result = kGraphOk;
  }
  surface_changed.store(true, std::memory_order_release);
}

void close_graphics() {
  assert(batch_depth == 0 && "close_graphics inside a DrawingBatch");
  {
    std::lock_guard<std::mutex> guard(the_lock);
    do_deferred_drawing();
    if (!the_surface.is_open()) {
      closed_result = kGraphNotOpen;
      return;
    }
  }
  if (Presenter* presenter = host().presenter) presenter->close_window();
  std::lock_guard<std::mutex> guard(the_lock);
  the_surface.close();
  closed_result = kGraphOk;
  surface_changed.store(true, std::memory_order_release);
}

// Nothing visible changes: the picture and the window stay, and no operation of the surface
// depends on the mode. With no surface open it reports -1, since the text screen calls it
// whenever it takes over.
void leave_graphics_mode() {
  OperationLock guard;
  if (!the_surface.is_open()) closed_result = kGraphNotOpen;
}

int graph_result() {
  OperationLock guard;
  if (the_surface.is_open()) return the_surface.take_result();
  const int result = closed_result;
  closed_result = kGraphOk;
  return result;
}

int16_t get_max_x() {
  return with_surface([](Surface& s) { return static_cast<int16_t>(s.max_x()); });
}

int16_t get_max_y() {
  return with_surface([](Surface& s) { return static_cast<int16_t>(s.max_y()); });
}

void set_viewport(int x1, int y1, int x2, int y2, Clipping clip) {
  with_surface([&](Surface& s) { s.set_viewport(x1, y1, x2, y2, clip); });
}

void clear_viewport() {
  draw([](Surface& s) { s.clear_viewport(); });
}

void set_fill(FillPattern pattern, int colour) {
  with_surface([&](Surface& s) { s.set_fill(pattern, colour); });
}

void fill_bar(int x1, int y1, int x2, int y2) {
  draw([&](Surface& s) { s.fill_bar(x1, y1, x2, y2); });
}

void draw_rectangle(int x1, int y1, int x2, int y2) {
  draw([&](Surface& s) { s.draw_rectangle(x1, y1, x2, y2); });
}

void draw_line(int x1, int y1, int x2, int y2) {
  draw([&](Surface& s) { s.draw_line(x1, y1, x2, y2); });
}

void set_line_style(LineStyle style, uint16_t pattern, LineThickness thickness) {
  with_surface([&](Surface& s) { s.set_line_style(style, pattern, thickness); });
}

void draw_arc(int x, int y, uint16_t start_angle, uint16_t end_angle, uint16_t radius) {
  draw([&](Surface& s) { s.draw_arc(x, y, start_angle, end_angle, radius); });
}

void flood_fill(int x, int y, int border_colour) {
  draw([&](Surface& s) { s.flood_fill(x, y, border_colour); });
}

void set_text_justify(HorizontalJustify horizontal, VerticalJustify vertical) {
  with_surface([&](Surface& s) { s.set_text_justify(horizontal, vertical); });
}

void draw_text(int x, int y, std::string_view cp852_text) {
  draw([&](Surface& s) { s.draw_text(x, y, cp852_text); });
}

int text_width(std::string_view cp852_text) { return Surface::text_width(cp852_text); }

int text_height(std::string_view cp852_text) { return Surface::text_height(cp852_text); }

int32_t image_size(int x1, int y1, int x2, int y2) { return Surface::image_size(x1, y1, x2, y2); }

void get_image(int x1, int y1, int x2, int y2, uint8_t* buffer) {
  with_surface([&](Surface& s) { s.get_image(x1, y1, x2, y2, buffer); });
}

void put_image(int x, int y, const uint8_t* buffer, PutMode mode) {
  draw([&](Surface& s) { s.put_image(x, y, buffer, mode); });
}

void move_region(int x1, int y1, int x2, int y2, int x, int y) {
  draw([&](Surface& s) { s.move_region(x1, y1, x2, y2, x, y); });
}

uint8_t get_pixel(int x, int y) {
  return with_surface([&](Surface& s) { return s.get_pixel(x, y); });
}

// The pixels are copied under the lock and encoded outside it, so a repaint waits for one copy.
std::vector<uint8_t> surface_png() {
  int width = 0, height = 0;
  const std::vector<uint8_t> pixels = with_surface([&](Surface& s) {
    width = s.width();
    height = s.height();
    return std::vector<uint8_t>(s.pixels(), s.pixels() + std::size_t(width) * height);
  });
  return encode_png(pixels.data(), width, height, kPalette);
}
