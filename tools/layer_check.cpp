// SPDX-License-Identifier: MIT
// Fails the build when a source file includes against the layers: each top-level folder is a
// layer, and a layer may include only its own headers and those of the layers below it. The
// standard-library layers may not include Qt, and no two folders may include each other, however
// indirectly.
//
// Usage: kelpa_layer_check <source root>
#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Layer {
  const char* Folder;
  bool UsesQt;
};

// Lowest first: a layer sees the ones before it.
constexpr std::array<Layer, 10> kLayers = {{
    {"platform", false},
    {"catalogue", false},
    {"simulation", false},
    {"timeline", false},
    {"scenario", false},
    {"exports", false},
    {"session", false},
    {"runner", false},
    {"gui", true},
    {"app", true},
}};

int LayerOf(const fs::path& relative) {
  const std::string top = relative.begin()->string();
  for (std::size_t i = 0; i < kLayers.size(); ++i) {
    if (top == kLayers[i].Folder) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

struct Checker {
  fs::path Root;
  std::map<std::string, std::set<std::string>> FolderIncludes;
  std::vector<std::string> Faults;

  void CheckFile(const fs::path& file) {
    const fs::path relative = fs::relative(file, Root);
    const int layer = LayerOf(relative);
    const std::string folder = relative.parent_path().generic_string();
    static const std::regex quoted(R"(^\s*#\s*include\s*"([^"]+)\")");
    static const std::regex qt(R"(^\s*#\s*include\s*<Q)");
    std::ifstream in(file);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      const std::string where = relative.generic_string() + ":" + std::to_string(number);
      std::smatch match;
      if (!kLayers[static_cast<std::size_t>(layer)].UsesQt && std::regex_search(line, qt)) {
        Faults.push_back(where + ": Qt in a standard-library layer");
      }
      if (!std::regex_search(line, match, quoted)) {
        continue;
      }
      const fs::path included(match[1].str());
      const int target = LayerOf(included);
      if (target < 0) {
        continue;  // a header beside the file, or generated
      }
      if (target > layer) {
        Faults.push_back(where + ": " + kLayers[static_cast<std::size_t>(layer)].Folder +
                         " includes " + included.generic_string() + " from a layer above it");
      }
      const std::string to = included.parent_path().generic_string();
      if (to != folder) {
        FolderIncludes[folder].insert(to);
      }
    }
  }

  // Depth-first search for a folder that reaches itself.
  void FindCycles() {
    std::map<std::string, int> state;  // 0 unseen, 1 on the path, 2 done
    std::vector<std::string> path;
    for (const auto& [folder, targets] : FolderIncludes) {
      Visit(folder, state, path);
    }
  }

  void Visit(const std::string& folder, std::map<std::string, int>& state,
             std::vector<std::string>& path) {
    if (state[folder] == 2) {
      return;
    }
    if (state[folder] == 1) {
      std::string cycle;
      for (auto it = std::find(path.begin(), path.end(), folder); it != path.end(); ++it) {
        cycle += *it + " -> ";
      }
      Faults.push_back("folders include each other: " + cycle + folder);
      return;
    }
    state[folder] = 1;
    path.push_back(folder);
    for (const std::string& target : FolderIncludes[folder]) {
      Visit(target, state, path);
    }
    path.pop_back();
    state[folder] = 2;
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  if (argc != 2) {
    std::cerr << "usage: kelpa_layer_check <source root>\n";
    return 2;
  }
  Checker checker{fs::path(argv[1]), {}, {}};
  for (const Layer& layer : kLayers) {
    const fs::path folder = checker.Root / layer.Folder;
    if (!fs::is_directory(folder)) {
      checker.Faults.push_back(std::string("no folder ") + layer.Folder);
      continue;
    }
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
      const fs::path& file = entry.path();
      if (entry.is_regular_file() && (file.extension() == ".cpp" || file.extension() == ".h")) {
        checker.CheckFile(file);
      }
    }
  }
  checker.FindCycles();
  for (const std::string& fault : checker.Faults) {
    std::cerr << fault << "\n";
  }
  return checker.Faults.empty() ? 0 : 1;
}
