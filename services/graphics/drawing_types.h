// The settings the drawing calls take. Each is an enum with the numeric value the drawing state
// stores, so that a value outside the list (a caller's fault) can still be told apart and
// rejected with graph_result -11.
#pragma once

#include <cstdint>

// graph_result values.
constexpr int kGraphOk = 0;
constexpr int kGraphNotOpen = -1;
constexpr int kGraphNoFloodMemory = -7;
constexpr int kGraphInvalidArgument = -11;

// 0 is the background colour, 1 the fill colour; 2..12 are the hatched patterns of surface.cpp.
enum class FillPattern : int { Empty = 0, Solid = 1, Last = 12 };
// 4 takes the caller's 16-bit pattern.
enum class LineStyle : int { Solid = 0, Dotted = 1, Center = 2, Dashed = 3, User = 4 };
// The line's width in pixels.
enum class LineThickness : int { Normal = 1, Thick = 3 };
enum class HorizontalJustify : int { Left = 0, Center = 1, Right = 2 };
enum class VerticalJustify : int { Bottom = 0, Middle = 1, Top = 2 };
// How put_image writes: only the plain copy the programs use.
enum class PutMode : int { Copy = 0 };
// The number a setting stands for (its value in the drawing state, a pattern's row in a table).
template <typename Setting>
constexpr int number_of(Setting setting) {
  return static_cast<int>(setting);
}

// Whether the viewport clips what is drawn in it.
enum class Clipping : uint8_t { Off, On };
