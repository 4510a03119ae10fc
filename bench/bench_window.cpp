// One repaint of the window, step by step, on a 1920 x 1017 surface (a maximised window on a
// 1920 x 1080 desktop with a taskbar):
//   PlainMemcpy          the whole surface copied with no lock, the yardstick;
//   MirrorWholeCopy      the surface's mirror after a resize (as at an opening): the frame made
//                        black, then drawing_lock and one memcpy of the whole surface;
//   PaletteConversion    the whole 8-bit frame through the colour table into 32-bit pixels;
//   StatusBoxChanges     draw_status_box, then the repaint's work before the display: the
//                        mirror's update (the changed region copied under the lock) and the
//                        conversion of its boxes;
//   StatusBoxRepaint     the same, then shown: the changed boxes copied onto the window's surface
//                        and sent to the display (the repaint of a frame in which only the status
//                        box changed, drawing included);
//   WholeRepaint         the whole picture converted, copied onto the window's surface and sent,
//                        as on the first frame, an expose or a resize.
// The last two need a display, e.g. DISPLAY of an Xvfb started by the caller; without one they
// are skipped.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstring>
#include <vector>

#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "services/program/host.h"
#include "services/graphics/surface.h"
#include "services/graphics/surface_mirror.h"
#include "services/desktop/window_picture.h"
#include "sim/status_box.h"
#include "sim/urn_model.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1017;
constexpr std::size_t kBytes = std::size_t{kWidth} * kHeight;

// Opens the process's surface at the benchmark size once and paints stripes of many colours,
// with the run screen's text justification and line thickness.
void open_surface_once() {
  static HeadlessPresenter presenter(kWidth, kHeight);
  static bool opened = false;
  if (opened) return;
  opened = true;
  const ScopedHost hosted([](Host& record) { record.presenter = &presenter; });
  int16_t driver = 0, mode = 0;
  open_graphics(driver, mode, "");
  for (int x = 0; x < kWidth; x += 8) {
    set_fill(FillPattern::Solid, (x / 8) % 256);
    fill_bar(x, 0, x + 7, kHeight - 1);
  }
  set_text_justify(HorizontalJustify::Center, VerticalJustify::Top);
  set_line_style(LineStyle::Solid, 0, LineThickness::Thick);
}

// A shown window of the surface's size on the display, with its surface; null without one.
class BenchWindow {
 public:
  BenchWindow() {
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");  // as the presenter asks
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) return;
    window_ = SDL_CreateWindow("bench", 0, 0, kWidth, kHeight, 0);
    if (window_ != nullptr) shown_ = SDL_GetWindowSurface(window_);
  }
  ~BenchWindow() {
    if (window_ != nullptr) SDL_DestroyWindow(window_);
    SDL_Quit();
  }
  SDL_Window* window() const { return shown_ != nullptr ? window_ : nullptr; }
  SDL_Surface* shown() const { return shown_; }

 private:
  SDL_Window* window_ = nullptr;
  SDL_Surface* shown_ = nullptr;
};

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

void MirrorWholeCopy(benchmark::State& state) {
  open_surface_once();
  SurfaceMirror mirror;
  for (auto _ : state) {
    mirror.resize(kWidth, kHeight);
    benchmark::DoNotOptimize(mirror.update());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(MirrorWholeCopy);

// The surface's mirror, brought up to date once.
const SurfaceMirror& whole_mirror() {
  static SurfaceMirror mirror;
  mirror.resize(kWidth, kHeight);
  mirror.update();
  return mirror;
}

void PaletteConversion(benchmark::State& state) {
  open_surface_once();
  const uint8_t* frame = whole_mirror().pixels();
  std::vector<uint32_t> pixels(kBytes);
  const ColourTable table = make_colour_table(kArgb);
  for (auto _ : state) {
    convert_pixels(frame, kBytes, table, pixels.data());
    benchmark::DoNotOptimize(pixels.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(PaletteConversion);

// Draws the status box once per iteration and repaints what changed; `window` may be null.
void status_box_repaint(benchmark::State& state, SDL_Window* window, SDL_Surface* shown) {
  open_surface_once();
  SurfaceMirror mirror;
  mirror.resize(kWidth, kHeight);
  mirror.update();
  WindowPicture picture;
  const uint32_t format = shown != nullptr ? shown->format->format
                                          : static_cast<uint32_t>(SDL_PIXELFORMAT_RGB888);
  picture.create(format, kWidth, kHeight);
  picture.convert_all(mirror.pixels());
  UrnModel model;
  model.step_count = 1000000;
  SDL_Rect rects[ChangedRegion::kMaxBoxes];
  for (auto _ : state) {
    ++model.step_count;
    draw_status_box(model);
    const MirrorChanges changes = mirror.update();
    picture.convert(mirror.pixels(), changes.boxes);
    if (window == nullptr) continue;
    const WindowPicture::Update update = picture.show(shown, &changes.boxes);
    for (int i = 0; i < update.count; ++i) {
      rects[i] = SDL_Rect{update.rects[i].x, update.rects[i].y, update.rects[i].w,
                          update.rects[i].h};
    }
    SDL_UpdateWindowSurfaceRects(window, rects, update.count);
  }
}

void StatusBoxChanges(benchmark::State& state) { status_box_repaint(state, nullptr, nullptr); }
BENCHMARK(StatusBoxChanges);

void StatusBoxRepaint(benchmark::State& state) {
  BenchWindow bench_window;
  if (bench_window.window() == nullptr) {
    return state.SkipWithError("no display (start Xvfb and set DISPLAY)");
  }
  status_box_repaint(state, bench_window.window(), bench_window.shown());
}
BENCHMARK(StatusBoxRepaint);

void WholeRepaint(benchmark::State& state) {
  BenchWindow bench_window;
  if (bench_window.window() == nullptr) {
    return state.SkipWithError("no display (start Xvfb and set DISPLAY)");
  }
  open_surface_once();
  const uint8_t* frame = whole_mirror().pixels();
  WindowPicture picture;
  picture.create(bench_window.shown()->format->format, kWidth, kHeight);
  for (auto _ : state) {
    picture.convert_all(frame);
    picture.show(bench_window.shown(), nullptr);
    SDL_UpdateWindowSurface(bench_window.window());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * kBytes));
}
BENCHMARK(WholeRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
