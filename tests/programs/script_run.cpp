// Runs one of the programs natively on the headless console and a headless surface, fed by a key
// script, and writes the console and the surface at the script's checkpoints: what the web page
// must show at the same points.
//
//   script_run <zorvan2|zorvan> <width> <height> <data folder> <script> <output folder> [language]
//
// The language is the page's --lang (Hungarian when it is not given).
// The script has one item a line, taken in order:
//   key <c|x> <code>     a key (c: a character, x: an extended key's scan code), handed in at
//                        the program's next wait for a key
//   at <t> <c|x> <code>  a key that arrives while the run goes on in Normal or Quiet, so that
//                        the turn making step t reads it (it is handed in after step t - 1)
//   check <name>         at the program's next wait with no key left: writes <name>.console
//                        (25 x 80 cells of character and attribute), <name>.cursor (the
//                        cursor's column and row, one line), <name>.surface (width and
//                        height as two 32-bit little-endian words, then the palette indices, or
//                        two zero words when no surface is open), <name>.turns (the steps)
//                        and <name>.figures (the run's figures as the editions read them, one
//                        line: T, N, box 1, box 2, N/2, has distance, distance, distance at
//                        step 1, pace, run mode; reals with 17 significant digits)
// A check after the last wait (the closing line) is written when the program has ended. When
// the script is used up, input ends. The output folder also gets palette.rgb (256 x RGB).
//
// The run is the real run_main_sequence, single-threaded, under a host record of this program's
// own: the host's waits (the key wait, the console's sleep) and the turn hook are where the
// script is fed in, and its clock moves only when the pace of normal running waits for a step.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>

#include "services/console/console.h"
#include "services/console/keyboard.h"
#include "services/graphics/graphics.h"
#include "services/graphics/presenter.h"
#include "services/graphics/surface.h"
#include "services/program/host.h"
#include "services/text/language.h"
#include "services/program/live_figures.h"
#include "services/numbers/random.h"
#include "services/program/program_host.h"
#include "sim/program_flow.h"
#include "sim/version.h"

namespace {

struct Item {
  enum class Kind { Key, TimedKey, Check } kind = Kind::Key;
  KeyEvent key{};
  int64_t step = 0;  // Kind::TimedKey
  std::string name;  // Kind::Check
};

std::deque<Item> script;
std::deque<Item> timed_keys;  // armed, in step order
std::filesystem::path output;
int64_t turns = 0;
HostTime clock_now{};  // the host's clock: it moves only when a paced wait lets it

[[noreturn]] void fail(const std::string& message) {
  std::fprintf(stderr, "script_run: %s\n", message.c_str());
  std::exit(2);
}

KeyEvent parse_key(std::istringstream& in) {
  std::string kind;
  int code = -1;
  in >> kind >> code;
  if ((kind != "c" && kind != "x") || code < 0 || code > 255) fail("bad key in the script");
  return {static_cast<uint8_t>(code), kind == "x"};
}

void read_script(const char* path) {
  std::ifstream in(path);
  if (!in) fail(std::string("cannot read ") + path);
  for (std::string line; std::getline(in, line);) {
    std::istringstream words(line);
    std::string verb;
    if (!(words >> verb)) continue;
    Item item;
    item.kind = Item::Kind::Key;
    if (verb == "key") {
      item.key = parse_key(words);
    } else if (verb == "at") {
      item.kind = Item::Kind::TimedKey;
      words >> item.step;
      item.key = parse_key(words);
    } else if (verb == "check") {
      item.kind = Item::Kind::Check;
      words >> item.name;
    } else {
      fail("unknown script line: " + line);
    }
    script.push_back(item);
  }
}

void write_file(const std::string& name, const void* data, std::size_t size) {
  std::ofstream out(output / name, std::ios::binary);
  out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
  if (!out) fail("cannot write " + name);
}

void write_checkpoint(const std::string& name) {
  const ConsoleState& console = console_state();
  write_file(name + ".console", &console.cells[0][0], sizeof console.cells);
  const std::string cursor =
      std::to_string(console.cursor_column) + " " + std::to_string(console.cursor_row) + "\n";
  write_file(name + ".cursor", cursor.data(), cursor.size());
  const Surface& surface = current_surface();
  std::string bytes(8, '\0');
  if (surface.is_open()) {
    const uint32_t size[2] = {static_cast<uint32_t>(surface.width()),
                              static_cast<uint32_t>(surface.height())};
    std::memcpy(bytes.data(), size, sizeof size);
    bytes.append(
        reinterpret_cast<const char*>(surface.pixels()),
        static_cast<std::size_t>(surface.width()) * static_cast<std::size_t>(surface.height()));
  }
  write_file(name + ".surface", bytes.data(), bytes.size());
  const std::string steps = std::to_string(turns) + "\n";
  write_file(name + ".turns", steps.data(), steps.size());
  const LiveFigures f = read_live_figures();
  char line[256];
  const int length = std::snprintf(
      line, sizeof line, "%lld %d %d %d %.17g %d %.17g %.17g %d %d\n",
      static_cast<long long>(f.step_count), f.insect_count, f.box1_count, f.box2_count, f.half,
      f.has_distance ? 1 : 0, f.distance, f.first_step_distance, f.pace, f.run_mode);
  write_file(name + ".figures", line, static_cast<std::size_t>(length));
}

// The program waits and no key is left: checkpoints first, then the next keys up to the next
// checkpoint or timed key (the keys after a timed key come at the wait that follows it). With
// nothing left to hand in, input ends.
void feed_at_wait() {
  if (!timed_keys.empty()) fail("the program waits before a timed key's step");
  bool handed_in = false;
  while (!script.empty()) {
    Item& item = script.front();
    if (item.kind == Item::Kind::Check) {
      if (handed_in) return;
      write_checkpoint(item.name);
    } else if (item.kind == Item::Kind::Key) {
      push_key(item.key);
      handed_in = true;
    } else {
      timed_keys.push_back(item);
      script.pop_front();
      return;
    }
    script.pop_front();
  }
  if (!handed_in) push_end_of_input();
}

// The key wait. While a key is armed for a later step (a stretch of Normal or Quiet), a wait
// with a deadline (the pace of normal running) lets the clock jump to the deadline: the key
// comes at its step, not at a time. Otherwise the script is fed in at once. No real time passes.
void wait_for_key(HostTime deadline) {
  if (key_pressed()) return;
  if (deadline != kNoDeadline && !timed_keys.empty()) {
    clock_now = std::max(clock_now, deadline);
    return;
  }
  feed_at_wait();
}

void after_turn() {
  ++turns;
  while (!timed_keys.empty() && timed_keys.front().step - 1 <= turns) {
    if (timed_keys.front().step - 1 < turns) fail("a timed key's step has passed");
    push_key(timed_keys.front().key);
    timed_keys.pop_front();
  }
}

// The page prompt sleeps before it looks for a key: that is its wait.
class ScriptConsole : public ConsoleBackend {
 public:
  void present(const ConsoleState&) override {}
  void sleep(unsigned) override {
    if (!key_pressed() && !end_of_input()) feed_at_wait();
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 7 && argc != 8) {
    fail("usage: script_run <zorvan2|zorvan> <width> <height> <data folder> <script> "
         "<output folder> [language]");
  }
  const std::string program = argv[1];
  if (program != "zorvan2" && program != "zorvan") fail("unknown program " + program);
  const VersionDescription& version = program == "zorvan2" ? kSecondVersion : kFirstVersion;
  HeadlessPresenter presenter(std::atoi(argv[2]), std::atoi(argv[3]));
  read_script(argv[5]);
  output = std::filesystem::absolute(argv[6]);
  std::filesystem::create_directories(output);
  {
    std::string rgb;
    for (const uint32_t colour : kPalette) {
      rgb += static_cast<char>(colour >> 16);
      rgb += static_cast<char>((colour >> 8) & 0xFF);
      rgb += static_cast<char>(colour & 0xFF);
    }
    write_file("palette.rgb", rgb.data(), rgb.size());
  }
  if (chdir(argv[4]) != 0) fail(std::string("no data folder ") + argv[4]);
  const LanguageSetUp language = set_up_language(argc == 8 ? argv[7] : "", {}, ".");
  if (!language.ok) fail(language.notice);

  ScriptConsole console;
  reset_console();
  reset_keyboard();
  reset_random();
  Host record;
  record.console = &console;
  record.presenter = &presenter;
  record.await_key = wait_for_key;
  record.turn_hook = after_turn;
  record.clock = [] { return clock_now; };
  install_host(record);
  const LogicOutcome outcome = run_logic_guarded([&] { run_main_sequence(version); });
  clear_host();
  for (const Item& item : script) {
    if (item.kind == Item::Kind::Check) write_checkpoint(item.name);
  }
  if (!outcome.message.empty()) std::fprintf(stderr, "%s\n", outcome.message.c_str());
  return outcome.exit_code;
}
