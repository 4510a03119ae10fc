// The layers point one way: app -> sim -> charts -> services. A file may include its own layer
// and those below it, never one above: charts/ never reaches into the run state, and services/
// knows nothing of charts or of the program.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

struct Layer {
  const char* folder;
  std::vector<std::string> forbidden;  // include prefixes of the layers above it
};

const Layer kLayers[] = {
    {"services", {"charts/", "sim/", "app/"}},
    {"charts", {"sim/", "app/"}},
    {"sim", {"app/"}},
};

// The quoted includes of a source file.
std::vector<std::string> includes_of(const fs::path& path) {
  std::vector<std::string> found;
  std::ifstream in(path);
  const std::string directive = "#include \"";
  for (std::string line; std::getline(in, line);) {
    const std::size_t at = line.find(directive);
    if (at == std::string::npos) continue;
    const std::size_t start = at + directive.size();
    found.push_back(line.substr(start, line.find('"', start) - start));
  }
  return found;
}

TEST(Layers, NoFileIncludesALayerAboveItsOwn) {
  int files = 0;
  for (const Layer& layer : kLayers) {
    const fs::path root = fs::path(ZORVAN_SOURCE_DIR) / layer.folder;
    ASSERT_TRUE(fs::is_directory(root)) << root;
    for (const auto& entry : fs::recursive_directory_iterator(root)) {
      if (!entry.is_regular_file()) continue;
      ++files;
      for (const std::string& include : includes_of(entry.path())) {
        for (const std::string& prefix : layer.forbidden) {
          EXPECT_NE(include.rfind(prefix, 0), 0u)
              << fs::relative(entry.path(), ZORVAN_SOURCE_DIR).string() << " includes " << include;
        }
      }
    }
  }
  EXPECT_GT(files, 30);  // the walk found the tree
}

}  // namespace
