// Digests of every figure whose digits depend on the target's arithmetic, one line per group:
// "<group> <values> <FNV-1a hash>". Built natively and for the web; the web tests run both and
// require the same lines, so the page computes what the desktop computes, bit for bit.
//
// Groups:
//   extended.*   the extended-real operations on random operands (x87 hardware natively, the
//                emulation in WebAssembly), the results taken apart into sign, exponent and
//                significand;
//   design_grid  scale_x and scale_y for every surface width 640..8192 and height 480..4608;
//   arcs         the pixels of every arc ring of radius 2..400, thin and thick (sin and cos
//                come from each target's own maths library);
//   runs.*       whole starts of runs and 300 quiet turns for every N on surfaces of common
//                heights: panel scales, bar tops, the theoretical bars, both distances and
//                their text, the box grid and the insect picture;
//   real_text    real_to_text of values round the rounding points of two decimals.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "charts/chart_panel.h"
#include "charts/theory.h"
#include "services/console/headless_console.h"
#include "services/numbers/extended_real.h"
#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "services/graphics/surface.h"
#include "services/program/host.h"
#include "services/numbers/random.h"
#include "services/numbers/number_text.h"
#include "services/numbers/extended_real.h"
#include "sim/program_flow.h"
#include "sim/run_state.h"
#include "sim/step.h"

namespace {

class Digest {
 public:
  explicit Digest(const char* name) : name_(name) {}
  ~Digest() {
    std::printf("%s %llu %016llx\n", name_, static_cast<unsigned long long>(values_),
                static_cast<unsigned long long>(hash_));
  }
  Digest(const Digest&) = delete;
  Digest& operator=(const Digest&) = delete;

  void bytes(const void* data, std::size_t size) {
    const auto* p = static_cast<const uint8_t*>(data);
    for (std::size_t i = 0; i < size; ++i) hash_ = (hash_ ^ p[i]) * 0x100000001B3ull;
    ++values_;
  }
  void integer(int64_t value) { bytes(&value, sizeof value); }
  void real(double value) { bytes(&value, sizeof value); }
  void text(const std::string& value) { bytes(value.data(), value.size()); }

  // The value's sign, exponent and 64-bit significand, the same on either representation.
  void extended(const extended_real& value) {
#if LDBL_MANT_DIG == 64
    uint64_t significand = 0;
    uint16_t sign_exponent = 0;
    std::memcpy(&significand, &value, 8);
    std::memcpy(&sign_exponent, reinterpret_cast<const uint8_t*>(&value) + 8, 2);
    const int64_t parts[3] = {sign_exponent >> 15, (sign_exponent & 0x7FFF) - 16383,
                              static_cast<int64_t>(significand)};
#else
    const int64_t parts[3] = {value.negative() ? 1 : 0, value == 0 ? -16383 : value.exponent(),
                              static_cast<int64_t>(value.significand())};
#endif
    bytes(parts, sizeof parts);
  }

 private:
  const char* name_;
  uint64_t hash_ = 0xCBF29CE484222325ull;
  uint64_t values_ = 0;
};

// A signed integer of random length times a power of two: exact in either representation.
extended_real random_operand(std::mt19937_64& generator) {
  const uint64_t bits = generator() >> (generator() % 64);
  const auto value = static_cast<int64_t>(bits >> 1) * ((generator() & 1) ? -1 : 1);
  const int exponent = static_cast<int>(generator() % 141) - 70;
  return extended_real(value) * extended_real(std::ldexp(1.0, exponent));
}

void digest_extended_operations() {
  std::mt19937_64 generator(7);
  Digest sums("extended.add_sub"), products("extended.mul_div"), roots("extended.sqrt");
  Digest doubles("extended.to_double_trunc");
  for (int i = 0; i < 200000; ++i) {
    const extended_real a = random_operand(generator);
    const extended_real b = random_operand(generator);
    sums.extended(a + b);
    sums.extended(a - b);
    products.extended(a * b);
    if (b != 0) products.extended(a / b);
    roots.extended(extended_sqrt(a * a + b * b));
    doubles.real(static_cast<double>(a * b));
    doubles.integer(a < b);
    const extended_real q = b != 0 ? a / b : a;
    if (q < extended_real(int64_t{1} << 62) && extended_real(-(int64_t{1} << 62)) < q) {
      doubles.integer(truncate_real(q));
    }
  }
}

// Opens the headless surface at the given size.
void open_surface(HeadlessPresenter& presenter, int width, int height) {
  presenter = HeadlessPresenter(width, height);
  int16_t driver = 0, mode = 0;
  open_graphics(driver, mode, "");
}

void digest_design_grid(HeadlessPresenter& presenter) {
  Digest digest("design_grid");
  for (int width = 640; width <= 8192; ++width) {
    open_surface(presenter, width, 1);
    for (int16_t v = 0; v <= 640; ++v) digest.integer(scale_x(v));
    close_graphics();
  }
  for (int height = 480; height <= 4608; ++height) {
    open_surface(presenter, 1, height);
    for (int16_t v = 0; v <= 480; ++v) digest.integer(scale_y(v));
    close_graphics();
  }
}

void digest_arcs(HeadlessPresenter& presenter) {
  constexpr int kLargest = 400;
  constexpr int kSide = 2 * kLargest + 5;
  constexpr int kCentre = kSide / 2;
  Digest digest("arcs");
  open_surface(presenter, kSide, kSide);
  for (const LineThickness thickness : {LineThickness::Normal, LineThickness::Thick}) {
    set_line_style(LineStyle::Solid, 0, thickness);
    for (int radius = 2; radius <= kLargest; ++radius) {
      clear_viewport();
      draw_arc(kCentre, kCentre, 0, 360, static_cast<uint16_t>(radius));
      const uint8_t* pixels = current_surface().pixels();
      for (int y = kCentre - radius - 1; y <= kCentre + radius + 1; ++y) {
        digest.bytes(pixels + y * kSide + kCentre - radius - 1, 2 * radius + 3);
      }
    }
  }
  close_graphics();
}

void digest_runs(HeadlessPresenter& presenter) {
  Digest layout("runs.layout"), bars("runs.bars"), distances("runs.distances");
  Digest picture("runs.insect_picture");
  for (const int height : {480, 600, 720, 768, 800, 900, 1017, 1050, 1080, 1200, 1440, 2160}) {
    for (int n = 5; n <= kMaxInsects; ++n) {
      HeadlessConsole console;
      presenter = HeadlessPresenter(640, height);
      RunState run;
      reset_random();
      script_keys(std::to_string(n) + "\r" + std::to_string(n / 3) + "\r");
      start_run(run);
      run.run_mode = RunMode::Quiet;
      for (int turn = 0; turn < 300; ++turn) run_turn(run);
      layout.integer(run.grid_columns);
      layout.integer(run.cell_size);
      for (const ChartPanel* panel : {&run.empirical_panel, &run.theory_panel, &run.strip.panel}) {
        layout.integer(panel->y2);
        bars.real(panel->scale);
        for (int i = 0; i < panel->bar_count; ++i) {
          const int64_t value =
              panel == &run.strip.panel ? strip_value(run.strip, i) : panel->values[i];
          bars.integer(value);
          bars.integer(panel_bar_top(*panel, value));
        }
      }
      for (int value = 0; value <= n; ++value) bars.integer(panel_bar_top(run.strip.panel, value));
      const double final_distance = panel_distance(run.empirical_panel, run.theory_panel);
      distances.real(run.first_step_distance);
      distances.real(final_distance);
      distances.text(real_to_text(run.first_step_distance, 5, 2));
      distances.text(real_to_text(final_distance, 5, 2));
      picture.bytes(run.insect_image.data(), run.insect_image.size());
      close_graphics();
    }
  }
}

void digest_real_text() {
  Digest digest("real_text");
  std::mt19937_64 generator(11);
  for (int i = 0; i < 20000; ++i) {
    const double hundredths = static_cast<double>(generator() % 200000) / 8.0;  // halves of a cent
    for (const double value : {hundredths / 100.0, std::nextafter(hundredths / 100.0, 0.0),
                               std::nextafter(hundredths / 100.0, 1e9)}) {
      digest.text(real_to_text(value, 5, 2));
    }
  }
}

}  // namespace

int main() {
  digest_extended_operations();
  HeadlessPresenter presenter(640, 480);
  const ScopedHost hosted([&presenter](Host& record) { record.presenter = &presenter; });
  digest_design_grid(presenter);
  digest_arcs(presenter);
  digest_runs(presenter);
  digest_real_text();
  return 0;
}
