// The two boxes of the run screen and the picture of one insect.
//
// Each box is a square of s x s cells (s the least integer with s*s >= N) of cell_size pixels,
// (get_max_y - 30) div (2s), limited by the width on surfaces about as tall as wide or taller. Box
// 1 starts at (20, 20), box 2 at (get_max_x div 2 + 20, 20). Cell (column c, row r) covers x0 +
// cell_size*(c-1) .. x0 + cell_size*c - 1 across and 20 + cell_size*(r-1) .. 20 + cell_size*r - 1
// down. A box has no frame line: it is seen as its white cells, with the insect picture on every
// occupied cell. The view draws from the model (urn_model.h) and never changes it.
#pragma once

#include <cstdint>

#include "sim/run_state.h"
#include "sim/urn_model.h"

// Cell size and the insect picture, drawn at the surface's top left and saved into
// run.insect_image; leaves the surface cleared. Needs an open surface and the grid sized.
void prepare_box_view(RunState& run);

// The side of a cell for an s x s grid on a surface of max_x + 1 by max_y + 1 pixels:
// (max_y - 30) div 2s, and no more than lets box 2 end by max_x - 8 on a tall surface.
int cell_size_for(int s, int max_x, int max_y);

// Shows a step's move: the cell left painted white with the fill in force (solid colour 15),
// then the insect picture on the cell arrived at; nothing while quiet.
void draw_move(const RunState& run, const InsectMove& move);
// Paints every cell of both boxes white and draws every insect, in any run mode.
void redraw_boxes(const RunState& run);

// The left edge of a box's first column.
int box_origin_x(int box);
