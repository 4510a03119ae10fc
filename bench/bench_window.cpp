// One repaint of the window, step by step, on a 1920 x 1017 surface (a maximised window on a
// 1920 x 1080 desktop with a taskbar):
//   PlainMemcpy         the same bytes copied with no lock, the yardstick;
//   LockedCopy          copy_surface_pixels: drawing_lock, one memcpy, clear the flag; the only
//                       part that makes drawing wait, so it should stay near PlainMemcpy;
//   PaletteConversion   the 8-bit frame through the colour table into an ARGB buffer;
//   TextureUpload       upload_frame into a streaming texture (conversion included); needs a
//                       display, e.g. DISPLAY of an Xvfb started by the caller, else it is skipped.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstring>
#include <vector>

#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "services/graphics/surface.h"
#include "services/graphics/window_presenter.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1017;
constexpr std::size_t kBytes = std::size_t{kWidth} * kHeight;

// Opens the process's surface at the benchmark size once and paints stripes of many colours.
void open_surface_once() {
  static HeadlessPresenter presenter(kWidth, kHeight);
  static bool opened = false;
  if (opened) return;
  opened = true;
  set_presenter(&presenter);
  int16_t driver = 0, mode = 0;
  open_graphics(driver, mode, "");
  for (int x = 0; x < kWidth; x += 8) {
    set_fill(kSolidFill, (x / 8) % 256);
    fill_bar(x, 0, x + 7, kHeight - 1);
  }
}

void PlainMemcpy(benchmark::State& state) {
  std::vector<uint8_t> from(kBytes, 7), to(kBytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kBytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(PlainMemcpy);

void LockedCopy(benchmark::State& state) {
  open_surface_once();
  std::vector<uint8_t> frame(kBytes);
  for (auto _ : state) {
    benchmark::DoNotOptimize(copy_surface_pixels(frame, kWidth, kHeight));
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(LockedCopy);

void PaletteConversion(benchmark::State& state) {
  open_surface_once();
  std::vector<uint8_t> frame(kBytes);
  copy_surface_pixels(frame, kWidth, kHeight);
  std::vector<uint32_t> argb(kBytes);
  const ColourTable table = make_colour_table();
  for (auto _ : state) {
    convert_pixels(frame.data(), kBytes, table, argb.data());
    benchmark::DoNotOptimize(argb.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(PaletteConversion);

void TextureUpload(benchmark::State& state) {
  open_surface_once();
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) {
    state.SkipWithError("no display (start Xvfb and set DISPLAY)");
    return;
  }
  const char* driver = SDL_GetCurrentVideoDriver();
  SDL_Window* window = nullptr;
  SDL_Renderer* renderer = nullptr;
  SDL_Texture* texture = nullptr;
  if (std::strcmp(driver, "offscreen") != 0 && std::strcmp(driver, "dummy") != 0) {
    window = SDL_CreateWindow("bench", 0, 0, kWidth, kHeight, SDL_WINDOW_HIDDEN);
  }
  if (window != nullptr) renderer = SDL_CreateRenderer(window, -1, 0);
  if (renderer != nullptr) {
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                kWidth, kHeight);
  }
  if (texture == nullptr) {
    state.SkipWithError("no display (start Xvfb and set DISPLAY)");
  } else {
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    state.SetLabel(info.name);
    std::vector<uint8_t> frame(kBytes);
    copy_surface_pixels(frame, kWidth, kHeight);
    const ColourTable table = make_colour_table();
    for (auto _ : state) {
      benchmark::DoNotOptimize(upload_frame(texture, frame.data(), kWidth, kHeight, table));
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
  }
  if (texture != nullptr) SDL_DestroyTexture(texture);
  if (renderer != nullptr) SDL_DestroyRenderer(renderer);
  if (window != nullptr) SDL_DestroyWindow(window);
  SDL_Quit();
}
BENCHMARK(TextureUpload)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
