// The box view: grid, the insect picture, and cell drawing.
#include "sim/box_view.h"

#include <algorithm>

#include "services/graphics/graphics.h"
#include "sim/run_state.h"

namespace {

constexpr int kBoxTop = 20;
constexpr int kBoxLeft = 20;

// The insect, drawn in white at the surface's top left in a square of side c: dark grey inside,
// two triangles with their apex at the centre (left one red, its tip cut off by an arc; right
// one green). Drawn with the true coordinates, so a cell wider than 255 pixels is drawn alike.
void draw_insect_picture(int c) {
  const int h = c / 2;
  draw_rectangle(0, 0, c, c);
  set_fill(FillPattern::Solid, 8);
  flood_fill(h, h, 15);
  const int path[7][2] = {{h, h}, {2, 2}, {2, c - 2}, {h, h}, {c - 2, 2}, {c - 2, c - 2}, {h, h}};
  for (int i = 0; i + 1 < 7; ++i) draw_line(path[i][0], path[i][1], path[i + 1][0], path[i + 1][1]);
  draw_arc(c - 2, h, 90, 270, static_cast<uint16_t>(h + 1));
  draw_arc(2, h, 270, 90, static_cast<uint16_t>(h + 1));
  set_fill(FillPattern::Solid, 4);
  flood_fill(h / 2, h, 15);
  set_fill(FillPattern::Solid, 2);
  flood_fill((3 * h) / 2, h, 15);
}

int cell_left(const RunState& run, int box, int column) {
  return box_origin_x(box) + run.cell_size * (column - 1);
}
int cell_top(const RunState& run, int row) { return kBoxTop + run.cell_size * (row - 1); }

void paint_cell(const RunState& run, int box, int column, int row) {
  const int x = cell_left(run, box, column);
  const int y = cell_top(run, row);
  fill_bar(x, y, x + run.cell_size - 1, y + run.cell_size - 1);
}

void put_insect(const RunState& run, const InsectRecord& cell) {
  put_image(cell_left(run, cell.box, cell.column), cell_top(run, cell.row), run.insect_image.data(),
            PutMode::Copy);
}

}  // namespace

// The height gives two boxes above the charts; the width is a limit of its own only on surfaces
// about as tall as wide or taller, where box 2 would otherwise run past the outer frame (whose
// line ends at max_x - 4): box 2 then ends by max_x - 8.
int cell_size_for(int s, int max_x, int max_y) {
  const int by_height = (max_y - 30) / (2 * s);
  const int by_width = (max_x - (max_x / 2 + kBoxLeft) - 7) / s;
  return std::min(by_height, by_width);
}

int box_origin_x(int box) { return box == 1 ? kBoxLeft : get_max_x() / 2 + kBoxLeft; }

void prepare_box_view(RunState& run) {
  run.cell_size = static_cast<uint16_t>(cell_size_for(run.grid_columns, get_max_x(), get_max_y()));
  const int c = run.cell_size;
  draw_insect_picture(c);
  run.insect_image.resize(static_cast<std::size_t>(image_size(0, 0, c - 1, c - 1)));
  get_image(0, 0, c - 1, c - 1, run.insect_image.data());
  clear_viewport();
}

void draw_move(const RunState& run, const InsectMove& move) {
  if (turn_drawing(run) != TurnDrawing::Draw) return;
  paint_cell(run, move.from.box, move.from.column, move.from.row);
  put_insect(run, move.to);
}

// Draws in every run mode: it is how the picture comes back after quiet running.
void redraw_boxes(const RunState& run) {
  for (int column = 1; column <= run.grid_columns; ++column) {
    for (int row = 1; row <= run.grid_rows; ++row) {
      paint_cell(run, 1, column, row);
      paint_cell(run, 2, column, row);
    }
  }
  for (int i = 1; i <= run.insect_count; ++i) put_insect(run, run.insects[i]);
}
