// SPDX-License-Identifier: MIT
// Fails the build when a source file includes against the layers: each top-level folder is a
// layer, and a layer may include only its own headers and those of the layers it builds on,
// directly or through another. The standard-library layers may not include Qt, and no two folders
// may include each other, however indirectly.
//
// Usage: kelpa_layer_check <source root>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Layer {
  std::string Folder;
  bool UsesQt;
  std::vector<std::string> BuildsOn;  // directly; what those build on comes with them
};

// The layers form a graph, not a line: the timeline and the scenario files both stand on the
// simulation and know nothing of each other, the export formats stand on both, and the runner
// and the windows share those formats but not each other (nor does the runner use the session).
// A layer comes after every layer it builds on.
const std::vector<Layer>& Layers() {
  static const std::vector<Layer> layers = {
      {"platform", false, {}},
      {"catalogue", false, {"platform"}},
      {"simulation", false, {"catalogue"}},
      {"timeline", false, {"simulation"}},
      {"scenario", false, {"simulation"}},
      {"exports", false, {"timeline", "scenario"}},
      {"session", false, {"scenario"}},
      {"runner", false, {"exports"}},
      {"gui", true, {"session", "exports"}},
      {"app", true, {"gui", "runner"}},
  };
  return layers;
}

const Layer* LayerNamed(const std::string& folder) {
  for (const Layer& layer : Layers()) {
    if (folder == layer.Folder) {
      return &layer;
    }
  }
  return nullptr;
}

const Layer* LayerOf(const fs::path& relative) {
  return LayerNamed(relative.begin()->string());
}

// The layers a layer may include: its own and all it builds on, however indirectly.
void AddReachable(const Layer& layer, std::set<std::string>& reached) {
  if (reached.insert(layer.Folder).second) {
    for (const std::string& below : layer.BuildsOn) {
      AddReachable(*LayerNamed(below), reached);
    }
  }
}

struct Checker {
  explicit Checker(fs::path root) : Root(std::move(root)) {
    for (const Layer& layer : Layers()) {
      AddReachable(layer, MayInclude[layer.Folder]);
    }
  }

  fs::path Root;
  std::map<std::string, std::set<std::string>> MayInclude;
  std::map<std::string, std::set<std::string>> FolderIncludes;
  std::vector<std::string> Faults;

  void CheckFile(const fs::path& file) {
    const fs::path relative = fs::relative(file, Root);
    const Layer& layer = *LayerOf(relative);
    const std::string folder = relative.parent_path().generic_string();
    static const std::regex quoted(R"(^\s*#\s*include\s*"([^"]+)\")");
    static const std::regex qt(R"(^\s*#\s*include\s*<Q)");
    // Outside the simulation, its state changes only through Simulation::Apply: no assignment,
    // increment or atomic store to a field of its parts, no set or reset of its events.
    static const std::regex writes(
        R"((\.|->)\s*(Kernel|Memoria|Espera|Cpu|HClock|Settings)\s*\.\s*\w+)"
        R"((\s*(\.|->)\s*\w+)*\s*(=[^=]|\+=|-=|\+\+|--|\.\s*(store|exchange|fetch_\w+)\s*\())"
        R"(|(\+\+|--)\s*[\w.>-]*(\.|->)\s*(Kernel|Memoria|Espera|Cpu|HClock|Settings)\s*\.)"
        R"(|(\.|->)\s*(StopRunEvent|ClockEvent)\s*\.\s*(Set|Reset|Close)\s*\()"
        R"(|(\.|->)\s*(ThreadsParked|FinishedCount|TotalTurnaroundTime|AfterStep)\s*(=[^=]|\+=|\+\+))");
    static const std::regex comment(R"(^\s*//)");
    const bool outsideTheSimulation =
        layer.Folder != "simulation" && MayInclude[layer.Folder].count("simulation") != 0;
    std::ifstream in(file);
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
      const std::string where = relative.generic_string() + ":" + std::to_string(number);
      std::smatch match;
      if (!layer.UsesQt && std::regex_search(line, qt)) {
        Faults.push_back(where + ": Qt in a standard-library layer");
      }
      if (outsideTheSimulation && !std::regex_search(line, comment) &&
          std::regex_search(line, writes)) {
        Faults.push_back(where + ": " + layer.Folder +
                         " writes the simulation's state; changes go through Simulation::Apply");
      }
      if (!std::regex_search(line, match, quoted)) {
        continue;
      }
      const fs::path included(match[1].str());
      const Layer* target = LayerOf(included);
      if (target == nullptr) {
        continue;  // a header beside the file, or generated
      }
      if (MayInclude[layer.Folder].count(target->Folder) == 0) {
        Faults.push_back(where + ": " + layer.Folder + " includes " + included.generic_string() +
                         ", from a layer it does not build on");
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
  Checker checker(argv[1]);
  for (const Layer& layer : Layers()) {
    const fs::path folder = checker.Root / layer.Folder;
    if (!fs::is_directory(folder)) {
      checker.Faults.push_back("no folder " + layer.Folder);
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
