// The status box: its text, its width, and its drawing whole or by changed glyph cells.
//
// Coordinates are the surface's pixels, origin top left, y down. The box ends at the surface's
// right edge and its text stands kStatusTextTop below the top; glyphs are 8x8 cells drawn 8
// pixels apart, so the cells of two characters never overlap.
#include "sim/status_box.h"

#include <algorithm>
#include <charconv>

#include "services/graphics/graphics.h"

namespace {

constexpr int kStatusCharacters = 10;  // the status box's width in characters, up to 7 digits

// Room for the longest status text: " T:" and a 64-bit count with its sign.
using StatusTextRoom = std::array<char, StatusBoxShown::kRoom>;

// The status text, written into `room` and seen through the returned view. The box is redrawn
// every step, so the text is made without the heap whatever the count's length. It stays at ten
// characters as long as it can: from 8 digits on the leading blank gives way, from 9 digits the
// "T:" too.
std::string_view compose_status_text(int64_t step_count, StatusTextRoom& room) {
  constexpr std::size_t kNumberWidth = 5;
  constexpr std::size_t kPrefix = 3;  // " T:"
  room[0] = ' ';
  room[1] = 'T';
  room[2] = ':';
  char* const number = room.data() + kPrefix;
  auto count = static_cast<std::size_t>(
      std::to_chars(number, room.data() + room.size(), step_count).ptr - number);
  if (count < kNumberWidth) {  // right-aligned in five characters
    const std::size_t padding = kNumberWidth - count;
    std::copy_backward(number, number + count, number + kNumberWidth);
    std::fill_n(number, padding, ' ');
    count = kNumberWidth;
  }
  std::string_view text(room.data(), kPrefix + count);
  const auto limit = static_cast<std::size_t>(kStatusCharacters);
  if (text.size() > limit) text.remove_prefix(1);
  if (text.size() > limit) text.remove_prefix(2);
  return text;
}

// The status text of a step, and which of its characters differ from those of the text the box
// shows: text[first .. last] (none when first > last). Unless `comparable`, the box shows a text
// of another length, or none.
struct StepText {
  std::string_view text;
  bool comparable;
  std::size_t first, last;
};

// The status text for the step number, written into `room`. When the box shows the number before,
// the text is that one counted up in place, which is what composing it afresh would give unless
// the carry runs past the first digit (the number grows a digit, and may change its form); that
// saves the conversion and the comparison at nearly every step.
StepText status_text_for_step(const StatusBoxShown& shown, int64_t step_count,
                               StatusTextRoom& room) {
  if (shown.length != 0 && shown.steps >= 0 && shown.steps != INT64_MAX &&
      shown.steps + 1 == step_count) {
    const std::size_t end = shown.first + shown.length;
    std::size_t carry = end;  // nines from here to the end turn to zeros
    while (carry > shown.first && shown.room[carry - 1] == '9') --carry;
    if (carry > shown.first && shown.room[carry - 1] >= '0' && shown.room[carry - 1] < '9') {
      room = shown.room;
      ++room[carry - 1];
      std::fill(room.begin() + static_cast<std::ptrdiff_t>(carry),
                room.begin() + static_cast<std::ptrdiff_t>(end), '0');
      return {std::string_view(room.data() + shown.first, shown.length), true,
              carry - 1 - shown.first, shown.length - 1};
    }
  }
  const std::string_view text = compose_status_text(step_count, room);
  if (shown.length == 0 || shown.length != text.size()) return {text, false, 0, 0};
  const std::string_view before(shown.room.data() + shown.first, shown.length);
  std::size_t first = 0;
  while (first < text.size() && text[first] == before[first]) ++first;
  std::size_t last = text.size() - 1;
  while (last > first && text[last] == before[last]) --last;
  return {text, true, first, last};
}

// Where the status box and its text lie: the box is `width` pixels of text room wide and ends at
// the surface's right edge; the text is centred in it, its top-left corner `text_left` pixels
// right of the box's left edge and kStatusTextTop below the surface's top.
struct StatusBoxLayout {
  int max_x, max_y;  // the surface's
  int characters, width, text_height, left, text_left;
};

constexpr int kStatusTextTop = 4;

StatusBoxLayout status_box_layout(std::string_view text) {
  const int max_x = get_max_x();
  const int characters = status_box_characters(text);
  const int width = characters * text_width(" ");
  const int centre = (width + 15) / 2;
  return {max_x,          get_max_y(),           characters, width, text_height(" "),
          max_x - width - 8, centre - text_width(text) / 2};
}

void draw_whole_status_box(const StatusBoxLayout& box, std::string_view text) {
  set_viewport(box.left, 0, box.max_x, box.text_height + 7, Clipping::On);
  clear_viewport();
  draw_rectangle(2, 2, box.width + 5, box.text_height + 5);
  draw_text(box.text_left + text_width(text) / 2, kStatusTextTop, text);
  set_viewport(0, 0, box.max_x, box.max_y, Clipping::On);
}

// The pixels the outline of a status box `box` always covers within the text's rows: the outline
// goes through (2, 2) and (width + 5, text_height + 5) of the box in the run screen's solid line,
// three pixels thick (LineThickness::Thick), so its right side owns the columns from
// width + 5 - 1 to width + 5 + 1, top to bottom; the room inside it ends left of them.
int inner_right(const StatusBoxLayout& box) {
  return box.left + box.width + 5 - number_of(LineThickness::Thick) / 2 - 1;
}
int outer_right(const StatusBoxLayout& box) {
  return box.left + box.width + 5 + number_of(LineThickness::Thick) / 2;
}

// When the box already shows a text of the same length (the step's text is comparable) in a box
// of the same width on this surface, drawing it whole would change only the glyph cells of the
// characters that differ (glyphs are 8 pixels apart and never overlap), and of those only the
// pixels inside the outline: where a cell reaches into the outline's right side (the last one of
// a ten-character text does), the outline's pixels are the drawing colour whatever the glyph.
// So those cells alone are cleared inside the outline and written (the glyph's pixels that fall
// on the outline set the colour it has). The text's left end and its rows lie inside the outline
// in every layout. False when the whole box must be drawn.
bool redraw_changed_characters(const StatusBoxShown& shown, const StatusBoxLayout& box,
                               const StepText& step) {
  if (!step.comparable || shown.characters != box.characters || shown.max_x != box.max_x ||
      shown.max_y != box.max_y) {
    return false;
  }
  if (step.first >= step.text.size()) return true;  // the same text
  const std::string_view changed = step.text.substr(step.first, step.last - step.first + 1);
  const int left = box.left + box.text_left + text_width(step.text.substr(0, step.first));
  const int right = left + text_width(changed) - 1;
  if (right > outer_right(box)) return false;
  const int bottom = kStatusTextTop + box.text_height - 1;
  const int room_right = std::min(right, inner_right(box));
  set_viewport(left, kStatusTextTop, room_right, bottom, Clipping::On);
  clear_viewport();
  if (room_right < right) set_viewport(left, kStatusTextTop, right, bottom, Clipping::On);
  draw_text(text_width(changed) / 2, 0, changed);  // centred on the cells: its corner is (0, 0)
  set_viewport(0, 0, box.max_x, box.max_y, Clipping::On);
  return true;
}

// Records what a drawing left the box showing.
void remember_shown(StatusBoxShown& shown, const StatusBoxLayout& box, const StatusTextRoom& room,
                    std::string_view text, int64_t step_count) {
  shown.room = room;  // the whole room: a copy of fixed length costs no call
  shown.first = static_cast<std::size_t>(text.data() - room.data());
  shown.length = text.size();
  shown.steps = step_count;
  shown.characters = box.characters;
  shown.max_x = box.max_x;
  shown.max_y = box.max_y;
}

// The one status box; constant-initialised, so no call pays for a first-use check.
constinit StatusBox the_status_box;

}  // namespace

std::string status_text(int64_t step_count) {
  StatusTextRoom room;
  return std::string(compose_status_text(step_count, room));
}

int status_box_characters(std::string_view text) {
  if (text.starts_with(" T:")) return kStatusCharacters;
  return std::max(kStatusCharacters + 1, static_cast<int>(text.size()) + 1);
}

void StatusBox::draw(int64_t step_count) {
  const DrawingBatch box;  // a repaint shows the box whole; what it shows is guarded by the lock
  StatusTextRoom room;
  const StepText step = status_text_for_step(shown_, step_count, room);
  const StatusBoxLayout layout = status_box_layout(step.text);
  if (!redraw_changed_characters(shown_, layout, step)) draw_whole_status_box(layout, step.text);
  remember_shown(shown_, layout, room, step.text, step_count);
}

void StatusBox::forget() {
  const DrawingBatch box;  // does a deferred drawing first
  shown_ = StatusBoxShown{};
}

void StatusBox::draw_deferred() {
  StatusBox& box = the_status_box;
  box.draw(box.deferred_steps_.load(std::memory_order_relaxed));
}

StatusBox& status_box() { return the_status_box; }

void draw_status_box(const UrnModel& model) { status_box().draw(model.step_count); }
