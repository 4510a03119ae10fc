// The status box of the run screen: the step number T in a small box at the surface's top right,
// drawn at every step in every run mode.
//
// The box shows " T:" and the number right-aligned in five characters, ten characters wide; from
// eight digits on the text gives up its leading blank, from nine its "T:" too, and the box widens
// to the left of its right edge (status_text, status_box_characters). A step mostly changes one
// digit, so the box remembers what it shows (the text, the step number, its width and the
// surface's size) and a drawing rewrites only the glyph cells whose character changed; the pixels
// are those of the whole box drawn afresh. What it shows is forgotten when a run surface opens,
// and the next drawing is whole.
//
// While the run is quiet a step draws nothing else, and nobody can see the box change faster than
// a repaint shows it: a quiet step only records its number, and the box is drawn when the surface
// is next used or read (a deferred drawing, graphics.h), showing the latest number recorded. The
// pixels are then those that drawing the box at every step would have left.
//
// Threads: what the box shows is read and written only under the drawing lock, by the logic
// thread while it draws and by whichever thread runs the deferred drawing (the window's, at a
// repaint); the number a quiet step records is an atomic, written by the logic thread alone.
#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "services/graphics/graphics.h"
#include "sim/urn_model.h"

// " T:" and the step number right-aligned in 5 characters (longer numbers take what they need);
// from 8 digits on without the leading blank, from 9 digits on the number alone.
std::string status_text(int64_t step_count);

// The status box's width in characters for a status text: ten while the text begins " T:" (up to
// seven digits); from eight digits on one more than the text, at least eleven, so that the text,
// centred as ever, stands inside the box's outline.
int status_box_characters(std::string_view text);

// What the status box shows since it was last drawn. length 0: nothing known, the next drawing
// is whole.
struct StatusBoxShown {
  static constexpr std::size_t kRoom = 23;  // " T:" and a 64-bit count with its sign
  std::array<char, kRoom> room{};           // the text is room[first .. first + length - 1]
  std::size_t first = 0, length = 0;
  int64_t steps = 0;         // the step number it shows
  int characters = 0;        // the box's width in characters
  int max_x = 0, max_y = 0;  // the surface it was drawn on
};

// The status box and what it shows. It draws on the current surface in the run screen's drawing
// state (thick solid lines, text centred on its x and hung from its y), inside one drawing batch
// so that a repaint shows the box whole.
class StatusBox {
 public:
  // Shows `step_count`: rewrites the changed glyph cells when the box shows a text of the same
  // length in a box of the same width on a surface of the same size, else draws it whole.
  void draw(int64_t step_count);

  // Logic thread: shows `step_count` when the surface is next used or read, as draw would now.
  void defer(int64_t step_count) {
    deferred_steps_.store(step_count, std::memory_order_relaxed);
    defer_drawing(&draw_deferred);
  }

  // Forgets what the box shows: the surface no longer shows it, and the next drawing is whole.
  // A box still to be drawn is drawn first, on the surface it was meant for.
  void forget();

 private:
  // The deferred drawing: shows the latest number recorded by defer.
  static void draw_deferred();

  StatusBoxShown shown_;                      // guarded by the drawing lock
  std::atomic<int64_t> deferred_steps_{0};  // the number the deferred drawing shows
};

// The run screen's status box, one for the process like the surface it is drawn on.
StatusBox& status_box();

// Shows the model's step number in the status box.
void draw_status_box(const UrnModel& model);
