// The run screen and its status box.
#include "sim/run_screen.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "charts/chart_panel.h"
#include "services/cp852.h"
#include "services/graphics/graphics.h"
#include "sim/box_view.h"
#include "sim/run_state.h"
#include "sim/text_frame.h"

namespace {

constexpr int kStatusCharacters = 10;  // the status box's width in characters, up to 7 digits

// Accepted and ignored by the window surface; kept for the shape of the call.
constexpr const char* kDriverPath = "";

const std::string& legend_text() {
  static const std::string legend =
      cp852(" V/v: vége , L/l: lépésenként , N/n: normál , C/c: csendes ");
  return legend;
}

// A small box of the top or bottom edge: cleared over its whole viewport (so it cuts the outer
// frame's line), a rectangle, and a centred text.
void draw_label_box(int x1, int y1, int x2, int y2, int frame_left, int frame_right_inner,
                    int text_x, const std::string& text) {
  const int hh = text_height(" ") / 2;
  set_viewport(x1, y1, x2, y2, Clipping::On);
  clear_viewport();
  draw_rectangle(frame_left, 2, frame_right_inner, 2 * hh + 5);
  draw_text(text_x, 4, text);
}

void draw_title_box() {
  const int tw = 12 * text_width(" ");
  const int cx = get_max_x() / 2;
  const int hh = text_height(" ") / 2;
  draw_label_box(cx - tw / 2 - 8, 0, cx + tw / 2 + 7, 2 * hh + 7, 4, tw + 9, (tw + 15) / 2,
                 title_text());
}

void draw_empty_status_box() {
  const int sw = kStatusCharacters * text_width(" ");
  const int hh = text_height(" ") / 2;
  draw_label_box(get_max_x() - sw - 8, 0, get_max_x(), 2 * hh + 7, 4, sw + 9, (sw + 15) / 2,
                 " T:");
}

void draw_legend() {
  const auto lw = static_cast<int16_t>(legend_text().size() * text_width(" "));
  const int cx = get_max_x() / 2;
  draw_label_box(cx - lw / 2 - 8, get_max_y() - text_height(" ") - 6, cx + lw / 2 + 7, get_max_y(),
                 2, lw + 9, (lw + 15) / 2, legend_text());
}

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
StepText status_text_for_step(int64_t step_count, StatusTextRoom& room) {
  const StatusBoxShown& shown = run.status_shown;
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
bool redraw_changed_characters(const StatusBoxLayout& box, const StepText& step) {
  const StatusBoxShown& shown = run.status_shown;
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

void remember_status_box(const StatusBoxLayout& box, const StatusTextRoom& room,
                         std::string_view text) {
  StatusBoxShown& shown = run.status_shown;
  shown.room = room;  // the whole room: a copy of fixed length costs no call
  shown.first = static_cast<std::size_t>(text.data() - room.data());
  shown.length = text.size();
  shown.steps = run.step_count;
  shown.characters = box.characters;
  shown.max_x = box.max_x;
  shown.max_y = box.max_y;
}

}  // namespace

void open_run_surface() {
  run.status_shown = StatusBoxShown{};  // a new surface shows nothing yet
  int16_t driver = 0;
  int16_t mode = 0;
  open_graphics(driver, mode, kDriverPath);
}

std::string status_text(int64_t step_count) {
  StatusTextRoom room;
  return std::string(compose_status_text(step_count, room));
}

void draw_run_screen() {
  run.screen_state = ScreenState::Graphics;
  open_run_surface();
  clear_viewport();
  set_text_justify(HorizontalJustify::Center, VerticalJustify::Top);
  set_line_style(LineStyle::Solid, 0, LineThickness::Thick);
  set_viewport(0, 0, get_max_x(), get_max_y(), Clipping::On);
  draw_rectangle(6, 6, get_max_x() - 5, get_max_y() - 5);
  draw_title_box();
  draw_empty_status_box();
  draw_legend();
  for (const PanelId id : run.version->frame_order) panel_draw_frame(panel_of(id));
  set_viewport(0, 0, get_max_x(), get_max_y(), Clipping::On);
  redraw_boxes();
}

int status_box_characters(std::string_view text) {
  if (text.starts_with(" T:")) return kStatusCharacters;
  return std::max(kStatusCharacters + 1, static_cast<int>(text.size()) + 1);
}

void draw_status_box() {
  StatusTextRoom room;
  const StepText step = status_text_for_step(run.step_count, room);
  const StatusBoxLayout layout = status_box_layout(step.text);
  const DrawingBatch box;  // a repaint shows the box whole
  if (!redraw_changed_characters(layout, step)) draw_whole_status_box(layout, step.text);
  remember_status_box(layout, room, step.text);
}
