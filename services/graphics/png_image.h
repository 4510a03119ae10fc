// The surface as a PNG file: the palette image itself (colour type 3, 8 bits a pixel), so every
// pixel keeps its palette index and shows the palette's colour in any viewer.
//
// The encoder is ours, written for pictures like the run screen (large flat areas, rows that
// repeat): each row is filtered by the PNG filter that leaves it the smallest bytes (None, Sub or
// Up), and the filtered rows are compressed by deflate with the fixed Huffman codes and greedy
// LZ77 matches, so a run screen of 1920 x 1017 pixels takes a few tens of kilobytes. It needs
// nothing beyond the standard library, in either edition.
#pragma once

#include <cstdint>
#include <vector>

// The PNG file of a width x height image of palette indices (row-major, `width` per row),
// with the 256-entry palette `palette` (0xRRGGBB each). width and height must be at least 1.
std::vector<uint8_t> encode_png(const uint8_t* indices, int width, int height,
                                const uint32_t (&palette)[256]);
