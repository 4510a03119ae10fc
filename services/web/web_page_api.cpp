// What the page calls: keys in, and the console model and the surface out for its repaint.
//
// Every function runs while the program waits (the page's code runs only then), so the model and
// the surface are whole whenever the page reads them.
#include <emscripten.h>

#include <array>
#include <cstdint>
#include <mutex>

#include "services/console/console.h"
#include "services/console/dom_keys.h"
#include "services/console/keyboard.h"
#include "services/text/cp852.h"
#include "services/graphics/graphics.h"
#include "services/graphics/picture.h"
#include "services/graphics/presenter.h"
#include "services/graphics/surface.h"
#include "services/program/host.h"
#include "services/program/live_figures.h"
#include "services/program/run_files.h"
#include "services/web/figure_slots.h"
#include "services/web/web_console_picture.h"
#include "services/web/web_host.h"
#include "services/web/web_picture.h"

static_assert(sizeof(ConsoleCell) == 2,
              "the page reads cells as (character, attribute) byte pairs");

namespace {

// The page writes a keydown event's key and code here, each NUL-terminated UTF-8, before it calls
// zorvan_key_down: a buffer of the program's own, since the program's stack is in use while it
// waits.
constexpr std::size_t kKeyTextSize = 128;
char key_text[2][kKeyTextSize];

std::array<int32_t, 5> placed;  // zorvan_place_picture's answer

std::array<double, kFigureSlots> figures;  // zorvan_figures's answer (figure_slots.h)

// The dom_mod bits of the modifier flags the page passes.
unsigned modifier_bits(int shift, int ctrl, int alt, int meta, int alt_graph) {
  unsigned bits = 0;
  if (shift != 0) bits |= dom_mod::kShift;
  if (ctrl != 0) bits |= dom_mod::kCtrl;
  if (alt != 0) bits |= dom_mod::kAlt;
  if (meta != 0) bits |= dom_mod::kMeta;
  if (alt_graph != 0) bits |= dom_mod::kAltGraph;
  return bits;
}

}  // namespace

extern "C" {

// Where the page writes the key (index 0) and the code (index 1) of a keydown event, each at
// most zorvan_key_text_size() bytes with its NUL.
EMSCRIPTEN_KEEPALIVE char* zorvan_key_text(int index) { return key_text[index & 1]; }
EMSCRIPTEN_KEEPALIVE int zorvan_key_text_size() { return static_cast<int>(kKeyTextSize); }

// A keydown event of the page, its key and code in zorvan_key_text, with its modifier flags
// (each nonzero when held). A key goes into the key queue; Ctrl-C goes to the host's interrupt,
// as the terminal's and the window's do. Answers 1 when the program took the event (the page
// keeps the browser from acting on it), 0 when it is left to the browser.
EMSCRIPTEN_KEEPALIVE int zorvan_key_down(int shift, int ctrl, int alt, int meta, int alt_graph) {
  key_text[0][kKeyTextSize - 1] = key_text[1][kKeyTextSize - 1] = '\0';
  const unsigned modifiers = modifier_bits(shift, ctrl, alt, meta, alt_graph);
  const DomKeyResult result = key_for_dom_event(key_text[0], key_text[1], modifiers);
  switch (result.status) {
    case DomKeyStatus::Key:
      push_key(result.key);
      return 1;
    case DomKeyStatus::Interrupt:
      interrupt_program();
      return 1;
    case DomKeyStatus::Ignored:
      break;
  }
  return 0;
}

// True when a key waits in the queue (the page's tests wait for the program to take them).
EMSCRIPTEN_KEEPALIVE int zorvan_key_pending() { return key_pressed() ? 1 : 0; }

// The 25 x 80 cells, row by row, each a code page 852 byte and its attribute.
EMSCRIPTEN_KEEPALIVE const uint8_t* zorvan_console_cells() {
  return &console_state().cells[0][0].character;
}

EMSCRIPTEN_KEEPALIVE int zorvan_console_cells_size() {
  return static_cast<int>(sizeof console_state().cells);
}

EMSCRIPTEN_KEEPALIVE uint32_t zorvan_console_version() { return web_console_version(); }
EMSCRIPTEN_KEEPALIVE int zorvan_cursor_column() { return console_state().cursor_column; }
EMSCRIPTEN_KEEPALIVE int zorvan_cursor_row() { return console_state().cursor_row; }
EMSCRIPTEN_KEEPALIVE int zorvan_cp852_unicode(int byte) {
  return static_cast<int>(cp852_to_unicode(static_cast<uint8_t>(byte)));
}
EMSCRIPTEN_KEEPALIVE uint32_t zorvan_palette_rgb(int index) { return kPalette[index & 0xFF]; }

// The page's console canvas (web_console_picture.h): zorvan_console_fit chooses the font for a
// space of device_w x device_h device pixels and answers its index; the canvas is
// zorvan_console_width() x zorvan_console_height(). At each repaint zorvan_console_update brings
// the picture up to date (the cursor blinking when cursor_allowed is nonzero) and answers how
// many rectangles the page must put onto the canvas, from zorvan_console_rgba() at the places
// zorvan_console_boxes() gives (x, y, width, height each). zorvan_console_indices() is the
// picture's palette indices, for the page's tests.
EMSCRIPTEN_KEEPALIVE int zorvan_console_fit(int device_w, int device_h) {
  return web_console_picture_fit(device_w, device_h);
}
EMSCRIPTEN_KEEPALIVE int zorvan_console_update(int cursor_allowed) {
  return web_console_picture_update(cursor_allowed != 0);
}
EMSCRIPTEN_KEEPALIVE const int32_t* zorvan_console_boxes() { return web_console_picture_boxes(); }
EMSCRIPTEN_KEEPALIVE const uint32_t* zorvan_console_rgba() { return web_console_picture_rgba(); }
EMSCRIPTEN_KEEPALIVE const uint8_t* zorvan_console_indices() {
  return web_console_picture_indices();
}
EMSCRIPTEN_KEEPALIVE int zorvan_console_width() { return web_console_picture_width(); }
EMSCRIPTEN_KEEPALIVE int zorvan_console_height() { return web_console_picture_height(); }

EMSCRIPTEN_KEEPALIVE double zorvan_turn_count() { return static_cast<double>(web_turn_count()); }
// Operator new calls since the program started: the page's tests see that turns allocate none.
EMSCRIPTEN_KEEPALIVE double zorvan_allocation_count() {
  return static_cast<double>(web_allocation_count());
}

EMSCRIPTEN_KEEPALIVE int zorvan_surface_width() {
  const std::lock_guard<std::mutex> lock(drawing_lock());
  return current_surface().is_open() ? current_surface().width() : 0;
}
EMSCRIPTEN_KEEPALIVE int zorvan_surface_height() {
  const std::lock_guard<std::mutex> lock(drawing_lock());
  return current_surface().is_open() ? current_surface().height() : 0;
}

// The palette indices of the open surface, row by row (nullptr when it is closed), with any
// deferred drawing done.
EMSCRIPTEN_KEEPALIVE const uint8_t* zorvan_surface_indices() {
  const std::lock_guard<std::mutex> lock(drawing_lock());
  return current_surface().is_open() ? current_surface().pixels() : nullptr;
}

// The page's repaint of the surface (web_picture.h): brings the picture up to date and answers
// how many rectangles the page must put onto its canvas, from zorvan_picture_rgba() at the places
// zorvan_picture_boxes() gives (x, y, width, height each).
EMSCRIPTEN_KEEPALIVE int zorvan_picture_update() { return web_picture_update(); }
EMSCRIPTEN_KEEPALIVE const int32_t* zorvan_picture_boxes() { return web_picture_boxes(); }
EMSCRIPTEN_KEEPALIVE const uint32_t* zorvan_picture_rgba() { return web_picture_rgba(); }
EMSCRIPTEN_KEEPALIVE int zorvan_picture_width() { return web_picture_width(); }
EMSCRIPTEN_KEEPALIVE int zorvan_picture_height() { return web_picture_height(); }

// Where the canvas goes in an output_w x output_h stage, in CSS pixels, by the desktop's rule
// (place_picture): x, y, width, height, and 1 when it is a whole multiple of the picture (shown
// crisp), 0 when shrunk (smoothed).
EMSCRIPTEN_KEEPALIVE const int32_t* zorvan_place_picture(int picture_w, int picture_h,
                                                         int output_w, int output_h) {
  const Placement placement = place_picture(picture_w, picture_h, output_w, output_h);
  const Rect& r = placement.target;
  placed = {r.x, r.y, r.w, r.h, placement.whole_multiple ? 1 : 0};
  return placed.data();
}

// The run's figures now (live_figures.h), as doubles in this order: valid (1 or 0), T, N, the
// count in box 1, the count in box 2, N/2, has the distance (1 or 0), the distance now, the
// distance at step 1, the pace (steps a second, 0 for no limit), the run mode's value and the
// seed. The page's figures panel reads them a few times a second; each call takes the distance
// afresh.
EMSCRIPTEN_KEEPALIVE const double* zorvan_figures() {
  const LiveFigures now = read_live_figures();
  figures[kValid] = now.valid ? 1.0 : 0.0;
  figures[kStepCount] = static_cast<double>(now.step_count);
  figures[kInsectCount] = now.insect_count;
  figures[kBox1Count] = now.box1_count;
  figures[kBox2Count] = now.box2_count;
  figures[kHalf] = now.half;
  figures[kHasDistance] = now.has_distance ? 1.0 : 0.0;
  figures[kDistance] = now.distance;
  figures[kFirstStepDistance] = now.first_step_distance;
  figures[kPace] = now.pace;
  figures[kRunMode] = now.run_mode;
  figures[kSeed] = now.seed;
  return figures.data();
}

// The files kept at the last run's end (run_files.h), for the page's Save buttons: the PNG file
// of its last picture and the CSV text of its figures (UTF-8), each as its first byte and its
// size, and the name both share (NUL-terminated). Sizes 0 and an empty name before a run has
// ended. They stay until the next run of this instance ends, after the program has ended too.
EMSCRIPTEN_KEEPALIVE const uint8_t* zorvan_kept_picture() {
  const RunFiles* files = kept_run_files();
  return files != nullptr ? files->png.data() : nullptr;
}
EMSCRIPTEN_KEEPALIVE int zorvan_kept_picture_size() {
  const RunFiles* files = kept_run_files();
  return files != nullptr ? static_cast<int>(files->png.size()) : 0;
}
EMSCRIPTEN_KEEPALIVE const char* zorvan_kept_figures() {
  const RunFiles* files = kept_run_files();
  return files != nullptr ? files->csv.c_str() : nullptr;
}
EMSCRIPTEN_KEEPALIVE int zorvan_kept_figures_size() {
  const RunFiles* files = kept_run_files();
  return files != nullptr ? static_cast<int>(files->csv.size()) : 0;
}
EMSCRIPTEN_KEEPALIVE const char* zorvan_kept_name() {
  const RunFiles* files = kept_run_files();
  return files != nullptr ? files->stem.c_str() : "";
}

}  // extern "C"
