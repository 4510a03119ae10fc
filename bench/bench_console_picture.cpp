// Cost of the console picture (the 80x25 console drawn with the console font) at the sizes the
// window and the page use most: a whole page drawn anew (a help page turned: every cell changed)
// and a page prompt's turn (the spinner's one cell and the cursor's blink), each in the smallest
// font (6x12), the 8x16 font and the largest (16x32).
#include <benchmark/benchmark.h>

#include "services/console/console.h"
#include "services/console/console_font.h"
#include "services/console/console_picture.h"

namespace {

// A console full of text in two attributes, as a help page is.
ConsoleState page_of_text(uint8_t first) {
  ConsoleState state;
  for (int row = 0; row < kConsoleRows; ++row) {
    for (int column = 0; column < kConsoleColumns; ++column) {
      state.cells[row][column] = ConsoleCell{static_cast<uint8_t>(first + (row + column) % 90),
                                             row == 0 ? kWhite : kLightGrey};
    }
  }
  return state;
}

// Every cell changes at each update: two pages in turn.
void BM_ConsolePictureWholePage(benchmark::State& state) {
  ConsolePicture picture;
  picture.set_font(static_cast<int>(state.range(0)));
  const ConsoleState pages[2] = {page_of_text(33), page_of_text(34)};
  int turn = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(picture.update(pages[turn], false));
    turn ^= 1;
  }
  state.SetLabel(std::to_string(picture.width()) + "x" + std::to_string(picture.height()));
}
BENCHMARK(BM_ConsolePictureWholePage)->Arg(0)->Arg(2)->Arg(kConsoleFontCount - 1);

// The spinner's cell changes and the cursor blinks at each update; the rest of the page stays.
void BM_ConsolePicturePromptTurn(benchmark::State& state) {
  ConsolePicture picture;
  picture.set_font(static_cast<int>(state.range(0)));
  ConsoleState page = page_of_text(33);
  page.cursor_column = 48;
  page.cursor_row = kConsoleRows;
  picture.update(page, false);
  const char shapes[4] = {'\\', '|', '/', '-'};
  int turn = 0;
  for (auto _ : state) {
    page.cells[kConsoleRows - 1][46].character = static_cast<uint8_t>(shapes[turn % 4]);
    benchmark::DoNotOptimize(picture.update(page, turn % 2 == 0));
    ++turn;
  }
}
BENCHMARK(BM_ConsolePicturePromptTurn)->Arg(0)->Arg(2)->Arg(kConsoleFontCount - 1);

}  // namespace

BENCHMARK_MAIN();
