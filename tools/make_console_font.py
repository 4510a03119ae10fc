#!/usr/bin/env python3
"""Regenerates services/console/console_font_data.cpp, the console picture's bitmap fonts.

The glyphs are Terminus Font's code page 852 faces in all nine sizes (6x12 to 16x32, normal
weight), as Debian's xfonts-terminus-dos package ships them: the PCF files
/usr/share/fonts/X11/misc/ter-u<height>n_ibm852.pcf.gz, whose glyph for byte b is the code page
852 character b. Terminus Font is licensed under the SIL Open Font License 1.1
(services/console/TERMINUS-OFL.txt).

Bytes 14 and 21, whose pictures the faces lack, take stand-ins (STAND_INS below). Each glyph is written as `height` rows, ceil(width / 8) bytes a row, the most significant bit the
leftmost pixel, placed in its cell as the font's ascent and the glyph's metrics put it.

Usage: tools/make_console_font.py [FOLDER] > services/console/console_font_data.cpp
       tools/make_console_font.py --dump [FOLDER]   (every glyph as text, for the tests)
"""
import gzip
import struct
import sys

FOLDER_DEFAULT = "/usr/share/fonts/X11/misc"
HEIGHTS = (12, 14, 16, 18, 20, 22, 24, 28, 32)

# The faces lack two of the PC's pictures of control bytes: byte 21 (the section sign) takes the
# glyph of the same character at 0xF5, and byte 14 (two beamed notes) the font's default, '?'.
STAND_INS = {21: 0xF5, 14: ord("?")}

PCF_METRICS = 1 << 2
PCF_BITMAPS = 1 << 3
PCF_BDF_ENCODINGS = 1 << 5
PCF_BDF_ACCELERATORS = 1 << 8
PCF_COMPRESSED_METRICS = 0x100


class Table:
    """One table of a PCF file: its format word and a reader in the table's byte order."""

    def __init__(self, data, offset):
        self.data = data
        self.format = struct.unpack_from("<I", data, offset)[0]
        self.order = ">" if self.format & (1 << 2) else "<"
        self.position = offset + 4

    def read(self, code):
        value = struct.unpack_from(self.order + code, self.data, self.position)
        self.position += struct.calcsize(code)
        return value if len(value) > 1 else value[0]


def read_tables(data):
    if data[:4] != b"\x01fcp":
        sys.exit("not a PCF file")
    count = struct.unpack_from("<I", data, 4)[0]
    tables = {}
    for i in range(count):
        kind, _, _, offset = struct.unpack_from("<IIII", data, 8 + 16 * i)
        tables[kind] = offset
    return tables


def read_metrics(table):
    if table.format & PCF_COMPRESSED_METRICS:
        count = table.read("h")
        metrics = []
        for _ in range(count):
            left, right, width, ascent, descent = (b - 0x80 for b in table.read("5B"))
            metrics.append((left, right, width, ascent, descent))
        return metrics
    count = table.read("i")
    metrics = []
    for _ in range(count):
        metrics.append(tuple(table.read("5h")))
        table.read("H")  # attributes
    return metrics


def read_bitmaps(table, glyph_count):
    count = table.read("i")
    assert count == glyph_count
    offsets = [table.read("i") for _ in range(count)]
    table.read("4i")  # the bitmap data's size for each padding
    start = table.position
    return offsets, start, 1 << (table.format & 3), bool(table.format & (1 << 3))


def read_encodings(table):
    first2, last2, first1, last1, _ = table.read("5h")
    assert first1 == 0 and last1 == 0, "a single-byte font"
    return {first2 + i: table.read("H") for i in range(last2 - first2 + 1)}


def load_font(path):
    data = gzip.open(path).read()
    tables = read_tables(data)
    accelerators = Table(data, tables[PCF_BDF_ACCELERATORS])
    accelerators.position += 8  # the flag bytes
    ascent, descent = accelerators.read("i"), accelerators.read("i")
    metrics = read_metrics(Table(data, tables[PCF_METRICS]))
    bitmap_table = Table(data, tables[PCF_BITMAPS])
    offsets, start, pad, msb_first = read_bitmaps(bitmap_table, len(metrics))
    encodings = read_encodings(Table(data, tables[PCF_BDF_ENCODINGS]))
    width = metrics[encodings[ord("M")]][2]
    height = ascent + descent
    glyphs = []
    for code in range(256):
        index = encodings.get(STAND_INS.get(code, code), 0xFFFF)
        if index == 0xFFFF:
            sys.exit(f"{path}: no glyph for byte {code}")
        glyphs.append(glyph_rows(data, start + offsets[index], pad, msb_first, metrics[index],
                                 width, height, ascent))
    return width, height, glyphs


def glyph_rows(data, offset, pad, msb_first, metric, width, height, ascent):
    """The glyph as `height` integers, bit (width - 1 - x) set for pixel x of the cell."""
    left, right, _, glyph_ascent, glyph_descent = metric
    glyph_width = right - left
    row_bytes = (glyph_width + 7) // 8
    row_bytes = (row_bytes + pad - 1) // pad * pad
    rows = [0] * height
    for y in range(glyph_ascent + glyph_descent):
        cell_y = ascent - glyph_ascent + y
        for x in range(glyph_width):
            byte = data[offset + y * row_bytes + x // 8]
            bit = (byte >> (7 - x % 8)) & 1 if msb_first else (byte >> (x % 8)) & 1
            cell_x = left + x
            if bit and 0 <= cell_y < height and 0 <= cell_x < width:
                rows[cell_y] |= 1 << (width - 1 - cell_x)
    return rows


def row_bytes_of(value, width):
    count = (width + 7) // 8
    value <<= count * 8 - width
    return [(value >> (8 * (count - 1 - i))) & 0xFF for i in range(count)]


HEADER = """\
// The console picture's fonts: Terminus Font's code page 852 glyphs in nine sizes, normal weight.
// Generated by tools/make_console_font.py from Debian's xfonts-terminus-dos package
// (ter-u<height>n_ibm852.pcf.gz). Terminus Font is licensed under the SIL Open Font License 1.1;
// the licence is services/console/TERMINUS-OFL.txt. Do not edit by hand: rerun the tool.
#include "services/console/console_font.h"

namespace {
"""


def write_table(fonts):
    out = [HEADER]
    for width, height, glyphs in fonts:
        out.append(f"\n// {width}x{height}: 256 glyphs of {height} rows, "
                   f"{(width + 7) // 8} byte(s) a row.\n")
        out.append(f"const uint8_t kGlyphs{width}x{height}[] = {{\n")
        for code, rows in enumerate(glyphs):
            values = [b for row in rows for b in row_bytes_of(row, width)]
            for i in range(0, len(values), 16):
                line = ", ".join(f"0x{b:02X}" for b in values[i:i + 16])
                comment = f"  // {code}" if i == 0 else ""
                out.append(f"    {line},{comment}\n")
        out.append("};\n")
    out.append("\n}  // namespace\n\nconst ConsoleFont kConsoleFonts[kConsoleFontCount] = {\n")
    for width, height, _ in fonts:
        out.append(f"    {{{width}, {height}, kGlyphs{width}x{height}}},\n")
    out.append("};\n")
    sys.stdout.write("".join(out))


def dump(fonts):
    """Every glyph as text: a line 'font W H', then per glyph 'glyph B' and its rows of . and #."""
    for width, height, glyphs in fonts:
        print(f"font {width} {height}")
        for code, rows in enumerate(glyphs):
            print(f"glyph {code}")
            for row in rows:
                print("".join("#" if row >> (width - 1 - x) & 1 else "." for x in range(width)))


def main():
    arguments = sys.argv[1:]
    dumping = "--dump" in arguments
    arguments = [a for a in arguments if a != "--dump"]
    folder = arguments[0] if arguments else FOLDER_DEFAULT
    fonts = [load_font(f"{folder}/ter-u{h}n_ibm852.pcf.gz") for h in HEIGHTS]
    if dumping:
        dump(fonts)
    else:
        write_table(fonts)


if __name__ == "__main__":
    main()
