// The run screen's fixed layout: the frame, the title box, the first status box and the legend.
#include "sim/run_screen.h"

#include <string>

#include "charts/chart_panel.h"
#include "services/text/messages.h"
#include "services/graphics/graphics.h"
#include "sim/box_view.h"
#include "sim/status_box.h"
#include "sim/text_frame.h"

namespace {

// Accepted and ignored by the window surface; kept for the shape of the call.
constexpr const char* kDriverPath = "";

const std::string& legend_text() { return message_cp852(Message::Legend); }

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

// The title box is as wide as its text: " Szimuláció " gives 12 characters.
void draw_title_box() {
  const int tw = static_cast<int>(title_text().size()) * text_width(" ");
  const int cx = get_max_x() / 2;
  const int hh = text_height(" ") / 2;
  draw_label_box(cx - tw / 2 - 8, 0, cx + tw / 2 + 7, 2 * hh + 7, 4, tw + 9, (tw + 15) / 2,
                 title_text());
}

// The status box before the first step: the box's first width, and " T:" alone.
void draw_empty_status_box() {
  const int sw = status_box_characters(" T:") * text_width(" ");
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

}  // namespace

void open_run_surface() {
  status_box().forget();  // a new surface shows nothing yet
  int16_t driver = 0;
  int16_t mode = 0;
  open_graphics(driver, mode, kDriverPath);
}

void draw_run_screen(RunState& run) {
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
  for (const PanelId id : run.version->frame_order) panel_draw_frame(panel_of(run, id));
  set_viewport(0, 0, get_max_x(), get_max_y(), Clipping::On);
  redraw_boxes(run);
}
