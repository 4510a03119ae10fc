// The layers point one way: app -> sim -> charts -> services. A file may include its own layer
// and those below it, never one above: charts/ never reaches into the run state, and services/
// knows nothing of charts or of the program. The core (all of it but the two editions' folders,
// services/desktop/ and services/web/) includes no edition's header and no header of the
// libraries an edition brings (SDL2, curses, X11, Emscripten); neither edition includes the other.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Layer {
  const char* folder;
  std::vector<std::string> forbidden;  // include prefixes the layer may not use
};

// What the core may not include: the editions and the libraries they bring. <SDL.h>, <SDL2/...>,
// <curses.h>, <ncursesw/...>, <X11/...>, <emscripten.h>, <emscripten/...>.
const std::vector<std::string> kEditionOnly = {
    "services/desktop/", "services/web/", "<SDL", "<curses", "<ncurses", "<X11/", "<emscripten"};

std::vector<std::string> plus(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

const Layer kLayers[] = {
    {"services", plus({"charts/", "sim/", "app/"}, kEditionOnly)},
    {"charts", plus({"sim/", "app/"}, kEditionOnly)},
    {"sim", plus({"app/"}, kEditionOnly)},
    {"app", kEditionOnly},
    {"services/desktop", {"charts/", "sim/", "app/", "services/web/", "<emscripten"}},
    {"services/web",
     {"charts/", "sim/", "app/", "services/desktop/", "<SDL", "<curses", "<ncurses", "<X11/"}},
};

// The includes of a source file, quoted ("services/...") and angled ("<SDL.h>", kept with its <).
std::vector<std::string> includes_of(const fs::path& path) {
  std::vector<std::string> found;
  std::ifstream in(path);
  const std::string directive = "#include ";
  for (std::string line; std::getline(in, line);) {
    const std::size_t at = line.find(directive);
    if (at == std::string::npos || line.find_first_not_of(" \t") != at) continue;
    const std::size_t start = at + directive.size();
    if (start >= line.size()) continue;
    if (line[start] == '"') {
      found.push_back(line.substr(start + 1, line.find('"', start + 1) - start - 1));
    } else if (line[start] == '<') {
      found.push_back(line.substr(start, line.find('>', start) - start));
    }
  }
  return found;
}

// The layer a file belongs to: the deepest folder of kLayers that holds it.
const Layer* layer_of(const fs::path& relative) {
  const Layer* best = nullptr;
  std::size_t depth = 0;
  for (const Layer& layer : kLayers) {
    const std::string folder = std::string(layer.folder) + "/";
    if (relative.generic_string().rfind(folder, 0) == 0 && folder.size() > depth) {
      best = &layer;
      depth = folder.size();
    }
  }
  return best;
}

TEST(Layers, NoFileIncludesALayerAboveItsOwnAndTheCoreNoEdition) {
  int files = 0, edition_files = 0;
  for (const char* top : {"app", "sim", "charts", "services"}) {
    for (const auto& entry : fs::recursive_directory_iterator(fs::path(ZORVAN_SOURCE_DIR) / top)) {
      if (!entry.is_regular_file()) continue;
      const fs::path relative = fs::relative(entry.path(), ZORVAN_SOURCE_DIR);
      const Layer* layer = layer_of(relative);
      ASSERT_NE(layer, nullptr) << relative;
      ++files;
      if (std::string(layer->folder).find('/') != std::string::npos) ++edition_files;
      for (const std::string& include : includes_of(entry.path())) {
        for (const std::string& prefix : layer->forbidden) {
          EXPECT_NE(include.rfind(prefix, 0), 0u) << relative.string() << " includes " << include;
        }
      }
    }
  }
  EXPECT_GT(files, 30);         // the walk found the tree
  EXPECT_GT(edition_files, 5);  // and both editions' folders
}

// The rule itself: an include the core may not have is found, whatever its form.
TEST(Layers, TheRuleFindsEditionIncludesInTheCore) {
  const fs::path scratch = fs::temp_directory_path() / "zorvan-layer-probe.cpp";
  std::ofstream(scratch) << "#include <SDL.h>\n#include \"services/desktop/window_keys.h\"\n"
                            "// #include <X11/Xlib.h> in a comment\n#include <vector>\n";
  const std::vector<std::string> found = includes_of(scratch);
  fs::remove(scratch);
  ASSERT_EQ(found,
            (std::vector<std::string>{"<SDL.h", "services/desktop/window_keys.h", "<vector"}));
  const Layer* core = layer_of("sim/step.cpp");
  ASSERT_NE(core, nullptr);
  int caught = 0;
  for (const std::string& include : found) {
    for (const std::string& prefix : core->forbidden) caught += include.rfind(prefix, 0) == 0;
  }
  EXPECT_EQ(caught, 2);
  EXPECT_EQ(std::string(layer_of("services/desktop/window_keys.cpp")->folder), "services/desktop");
}

}  // namespace
