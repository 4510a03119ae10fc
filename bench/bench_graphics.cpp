// Cost of the surface's bulk operations on a surface the size of a maximised window on a
// 1920x1080 desktop, each beside a plain memcpy of the same number of bytes in the same run, so
// the ratio holds whatever the machine: a full-surface fill_bar, put_image of a 164x164 picture
// (the largest insect picture on such a surface), get_image + put_image of an 846x403 region
// (the strip chart's scroll until it moved in place) and move_region of the same region (the
// scroll now). The memcpy partners copy the bytes of the surface (fill), of the image buffer
// (image operations) or of the region (move).
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "services/program/host.h"

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1017;

// Opens the process-wide surface once, with a picture in the programs' colours on it.
void open_surface() {
  static HeadlessPresenter presenter(kWidth, kHeight);
  static bool opened = false;
  if (opened) return;
  opened = true;
  const ScopedHost hosted([](Host& record) { record.presenter = &presenter; });
  int16_t driver = 0, mode = 0;
  open_graphics(driver, mode, "");
  const int colours[4] = {2, 4, 8, 15};
  for (int i = 0; i < 40; ++i) {
    set_fill(FillPattern::Solid, colours[i % 4]);
    fill_bar(i * 45, 0, i * 45 + 30, kHeight - 1);
    draw_line(0, i * 25, kWidth - 1, kHeight - 1 - i * 25);
  }
}

void copy_bytes(benchmark::State& state, size_t bytes) {
  std::vector<uint8_t> from(bytes, 7), to(bytes);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
}

void BM_FillBarFullSurface(benchmark::State& state) {
  open_surface();
  set_fill(FillPattern::Solid, 15);
  for (auto _ : state) {
    fill_bar(0, 0, kWidth - 1, kHeight - 1);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kWidth} * kHeight);
}

void BM_MemcpyFullSurface(benchmark::State& state) {
  copy_bytes(state, size_t{kWidth} * kHeight);
}

void BM_PutImage164(benchmark::State& state) {
  open_surface();
  std::vector<uint8_t> image(static_cast<size_t>(image_size(0, 0, 163, 163)));
  get_image(0, 0, 163, 163, image.data());
  for (auto _ : state) {
    put_image(500, 300, image.data(), PutMode::Copy);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * image.size()));
}

void BM_MemcpyImage164(benchmark::State& state) {
  copy_bytes(state, static_cast<size_t>(image_size(0, 0, 163, 163)));
}

void BM_GetPutImage846x403(benchmark::State& state) {
  open_surface();
  std::vector<uint8_t> image(static_cast<size_t>(image_size(0, 0, 845, 402)));
  for (auto _ : state) {
    get_image(100, 300, 945, 702, image.data());
    put_image(96, 300, image.data(), PutMode::Copy);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * image.size()));
}

void BM_MemcpyImage846x403(benchmark::State& state) {
  copy_bytes(state, static_cast<size_t>(image_size(0, 0, 845, 402)));
}

void BM_MoveRegion846x403(benchmark::State& state) {
  open_surface();
  for (auto _ : state) {
    move_region(100, 300, 945, 702, 96, 300);
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * int64_t{846} * 403);
}

void BM_MemcpyRegion846x403(benchmark::State& state) { copy_bytes(state, size_t{846} * 403); }

}  // namespace

BENCHMARK(BM_FillBarFullSurface);
BENCHMARK(BM_MemcpyFullSurface);
BENCHMARK(BM_PutImage164);
BENCHMARK(BM_MemcpyImage164);
BENCHMARK(BM_GetPutImage846x403);
BENCHMARK(BM_MemcpyImage846x403);
BENCHMARK(BM_MoveRegion846x403);
BENCHMARK(BM_MemcpyRegion846x403);

BENCHMARK_MAIN();
