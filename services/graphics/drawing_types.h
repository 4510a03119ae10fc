// The settings the drawing calls take. Each is an enum with the numeric value the drawing state
// stores, so that a value outside the list (a caller's fault) can still be told apart and
// rejected with graph_result -11.
#pragma once

#include <cstdint>

// graph_result values.
constexpr int kGraphOk = 0;
constexpr int kGraphNotOpen = -1;
constexpr int kGraphNotDetected = -2;
constexpr int kGraphNoFloodMemory = -7;
constexpr int kGraphInvalidMode = -10;
constexpr int kGraphInvalidArgument = -11;

// 0 is the background colour, 1 the fill colour; 2..12 are the hatched patterns of surface.cpp.
enum FillPattern : int { kEmptyFill = 0, kSolidFill = 1, kLastFillPattern = 12 };
// 4 takes the caller's 16-bit pattern.
enum LineStyle : int { kSolidLine = 0, kDottedLine = 1, kCenterLine = 2, kDashedLine = 3, kUserLine = 4 };
enum LineThickness : int { kNormalWidth = 1, kThickWidth = 3 };
enum HorizontalJustify : int { kLeftText = 0, kCenterText = 1, kRightText = 2 };
enum VerticalJustify : int { kBottomText = 0, kMiddleText = 1, kTopText = 2 };
// How put_image writes: only the plain copy the programs use.
enum PutMode : int { kCopyPut = 0 };
// Whether the viewport clips what is drawn in it.
enum class Clipping : uint8_t { Off, On };
