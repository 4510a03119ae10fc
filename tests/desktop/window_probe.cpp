// A driver for the graphics window's end-to-end test.
//
// The main thread runs the window presenter; a logic thread opens the surface twice as the
// programs do (once to measure, once for good), draws a known picture, prints "ready" and then
// prints every key it reads ("key N") until it reads 'q' or 20 s pass; it closes the surface,
// prints "closed" and ends with exit code 0. With no display it prints the presenter's message
// and ends with exit code 1.
//
//   window_probe [--animate N] [--ppm PATH] [--close-test] [--linger-ms N]
//     --animate N    after the picture, N turns of small changes over about a second (a band
//                    moved, a counter box redrawn, a bar), each turn in one batch, so that the
//                    window receives them as many small updates
//     --ppm PATH     also write the surface (after any animation) as a binary PPM in the
//                    palette's colours
//     --close-test   after "ready", close the window as the user would (an SDL_QUIT event), keep
//                    drawing, print "drawn after close" and end without waiting for keys
//     --linger-ms N  wait N ms after "closed" before ending (lets the test look at the screen)
#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "services/graphics/graphics.h"
#include "services/console/keyboard.h"
#include "services/graphics/presenter.h"
#include "services/graphics/surface.h"
#include "services/program/host.h"
#include "services/desktop/window_presenter.h"

namespace {

using std::chrono::milliseconds;

struct Options {
  int animate = 0;
  std::string ppm_path;
  bool close_test = false;
  int linger_ms = 0;
};

void say(const char* line) {
  std::printf("%s\n", line);
  std::fflush(stdout);
}

// The test picture: bars in the programs' colours and a few more, a line and a text.
void draw_test_picture() {
  struct Bar {
    int colour, x1, y1, x2, y2;
  };
  static constexpr Bar kBars[] = {
      {2, 10, 10, 109, 59},    {4, 120, 10, 219, 59},   {8, 230, 10, 329, 59},
      {15, 340, 10, 439, 59},  {1, 450, 10, 549, 59},   {14, 10, 70, 109, 119},
      {200, 120, 70, 219, 119}, {30, 230, 70, 329, 119}, {100, 340, 70, 439, 119},
      {15, 0, 470, 639, 479},  {0, 300, 472, 339, 477}, {255, 600, 200, 639, 239},
      {15, 639, 0, 639, 479},
  };
  for (const Bar& bar : kBars) {
    set_fill(FillPattern::Solid, bar.colour);
    fill_bar(bar.x1, bar.y1, bar.x2, bar.y2);
  }
  draw_line(10, 150, 400, 300);
  draw_text(50, 200, "Abc");
}

// Turn t of the animation: what the run screen does each step, in small.
void animate_turn(int t) {
  const DrawingBatch turn;
  move_region(23, 130, 422, 179, 20, 130);  // a band scrolled 3 pixels to the left
  set_fill(FillPattern::Solid, 1 + t % 14);
  fill_bar(419, 130 + t % 40, 422, 179);
  set_viewport(500, 130, 599, 149, Clipping::On);  // a counter box, cleared and written
  clear_viewport();
  draw_rectangle(1, 1, 98, 18);
  draw_text(6, 6, std::to_string(t));
  set_viewport(0, 0, get_max_x(), get_max_y(), Clipping::On);
  set_fill(FillPattern::Solid, (t * 37) % 256);
  const int x = (t * 97) % 600, y = 320 + (t * 53) % 120;  // a bar somewhere
  fill_bar(x, y, x + 9, y + 5);
}

bool write_ppm(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (file == nullptr) return false;
  std::lock_guard<std::mutex> lock(drawing_lock());
  const Surface& surface = current_surface();
  std::fprintf(file, "P6\n%d %d\n255\n", surface.width(), surface.height());
  const int count = surface.width() * surface.height();
  for (int i = 0; i < count; ++i) {
    const uint32_t rgb = kPalette[surface.pixels()[i]];
    const unsigned char bytes[3] = {static_cast<unsigned char>(rgb >> 16),
                                    static_cast<unsigned char>(rgb >> 8),
                                    static_cast<unsigned char>(rgb)};
    std::fwrite(bytes, 1, 3, file);
  }
  return std::fclose(file) == 0;
}

// Waits until the window has taken the picture (the repaint clears the flag), at most 2 s.
void wait_for_repaint() {
  for (int i = 0; i < 200 && surface_changed.load(); ++i)
    std::this_thread::sleep_for(milliseconds(10));
}

void read_keys_until_q() {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (std::chrono::steady_clock::now() < deadline) {
    if (!key_pressed()) {
      std::this_thread::sleep_for(milliseconds(5));
      continue;
    }
    const uint8_t key = read_key();
    std::printf("key %d\n", key);
    std::fflush(stdout);
    if (key == 'q') return;
  }
  say("timeout");
}

void close_like_the_user() {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  std::this_thread::sleep_for(milliseconds(500));
  set_fill(FillPattern::Solid, 4);
  fill_bar(0, 0, 639, 479);
  say("drawn after close");
}

int run_logic(const Options& options) {
  int16_t driver = 0, mode = 0;
  open_graphics(driver, mode, "");
  const int measured_w = get_max_x() + 1, measured_h = get_max_y() + 1;
  close_graphics();
  open_graphics(driver, mode, "");
  const int width = get_max_x() + 1, height = get_max_y() + 1;
  std::printf("size %dx%d\n", width, height);
  if (width != measured_w || height != measured_h) {
    std::printf("size changed from %dx%d\n", measured_w, measured_h);
    return 2;
  }
  draw_test_picture();
  for (int t = 0; t < options.animate; ++t) {
    animate_turn(t);
    if (t % 10 == 9) std::this_thread::sleep_for(milliseconds(1000 * 10 / options.animate));
  }
  if (!options.ppm_path.empty() && !write_ppm(options.ppm_path)) {
    std::printf("cannot write %s\n", options.ppm_path.c_str());
    return 2;
  }
  wait_for_repaint();
  say("ready");
  if (options.close_test) {
    close_like_the_user();
  } else {
    read_keys_until_q();
  }
  close_graphics();
  say("closed");
  std::this_thread::sleep_for(milliseconds(options.linger_ms));
  return 0;
}

Options parse_options(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--animate") == 0 && i + 1 < argc) {
      options.animate = std::max(0, std::atoi(argv[++i]));
    } else if (std::strcmp(argv[i], "--ppm") == 0 && i + 1 < argc) {
      options.ppm_path = argv[++i];
    } else if (std::strcmp(argv[i], "--close-test") == 0) {
      options.close_test = true;
    } else if (std::strcmp(argv[i], "--linger-ms") == 0 && i + 1 < argc) {
      options.linger_ms = std::atoi(argv[++i]);
    }
  }
  return options;
}

}  // namespace

int main(int argc, char** argv) {
  const Options options = parse_options(argc, argv);
  WindowPresenter presenter;
  if (!presenter.init()) {
    std::printf("%s\n", presenter.failure().c_str());
    return 1;
  }
  const ScopedHost hosted([&presenter](Host& record) { record.presenter = &presenter; });
  std::atomic<bool> logic_done{false};
  int exit_code = 0;
  std::thread logic([&] {
    try {
      exit_code = run_logic(options);
    } catch (const std::exception& error) {
      std::printf("error: %s\n", error.what());
      exit_code = 1;
    }
    std::fflush(stdout);
    logic_done = true;
  });
  presenter.run(logic_done);
  logic.join();
  return exit_code;
}
