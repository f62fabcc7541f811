// SPDX-License-Identifier: MIT
// The layer check on made-up source trees: a tree that follows the layers passes, and each kind
// of fault fails it, naming the file: an include from a layer not built on (lower in the folder
// order though it be), from a layer above, Qt below the windows, folders including each other,
// a missing layer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "support/temp_working_directory.h"

namespace kelpa {
namespace {

namespace fs = std::filesystem;

struct SourceFile {
  std::string Path;
  std::string Text;
};

// A tree with every layer, each file including what it is allowed to.
const std::vector<SourceFile> kSound = {
    {"platform/p.h", "#include <string>\n"},
    {"catalogue/c.h", "#include \"platform/p.h\"\n"},
    {"simulation/s.h", "#include \"catalogue/c.h\"\n#include \"platform/p.h\"\n"},
    {"timeline/t.h", "#include \"simulation/s.h\"\n"},
    {"scenario/c.h", "#include \"simulation/s.h\"\n"},
    {"exports/e.h", "#include \"timeline/t.h\"\n#include \"scenario/c.h\"\n"},
    {"session/s.h", "#include \"scenario/c.h\"\n"},
    {"runner/r.cpp", "#include \"exports/e.h\"\n#include \"timeline/t.h\"\n"},
    {"gui/a/w.h", "#include <QWidget>\n#include \"session/s.h\"\n#include \"exports/e.h\"\n"},
    {"gui/b/v.cpp",
     "#include \"gui/a/w.h\"\n#include \"platform/p.h\"\n"
     "const bool slow = sim_.Kernel.Quantum == 3000 && sim_.HClock.Period.load() > 500;\n"},
    {"simulation/s.cpp",
     "#include \"simulation/s.h\"\nvoid F(S& sim) { sim.Kernel.Quantum = 1; }\n"},
    {"app/main.cpp", "#include <QApplication>\n#include \"gui/b/v.h\"\n#include \"runner/r.h\"\n"},
};

struct Outcome {
  int Status = 0;
  std::string Faults;
};

Outcome Check(const std::vector<SourceFile>& files, const std::string& without = "") {
  test::TempWorkingDirectory dir;
  for (const SourceFile& file : files) {
    const fs::path path = dir.Path() / file.Path;
    fs::create_directories(path.parent_path());
    std::ofstream(path) << "// SPDX-License-Identifier: MIT\n" << file.Text;
  }
  if (!without.empty()) {
    fs::remove_all(dir.Path() / without);
  }
  const std::string command = std::string(KELPA_LAYER_CHECK) + " \"" + dir.Path().string() +
                              "\" 2>\"" + dir.File("faults") + "\"";
  const int status = std::system(command.c_str());
  std::ifstream in(dir.File("faults"));
  return {status, std::string(std::istreambuf_iterator<char>(in), {})};
}

TEST(LayerCheck, ASoundTreePasses) {
  const Outcome outcome = Check(kSound);
  EXPECT_EQ(outcome.Status, 0) << outcome.Faults;
  EXPECT_EQ(outcome.Faults, "");
}

TEST(LayerCheck, EachFaultFailsNamingItsFile) {
  struct Case {
    const char* What;
    SourceFile Added;
    const char* Named;  // in the faults
  };
  const Case cases[] = {
      // Before the layers were a graph, these three were "below" the file including them.
      {"the windows use the runner", {"gui/a/x.cpp", "#include \"runner/r.h\"\n"}, "gui/a/x.cpp:2"},
      {"the runner uses the session",
       {"runner/x.cpp", "#include \"session/s.h\"\n"},
       "runner/x.cpp:2"},
      {"a sibling", {"scenario/x.cpp", "#include \"timeline/t.h\"\n"}, "scenario/x.cpp:2"},
      {"a layer above", {"simulation/x.cpp", "#include \"gui/a/w.h\"\n"}, "simulation/x.cpp:2"},
      {"Qt below the windows", {"exports/x.cpp", "#include <QString>\n"}, "exports/x.cpp:2"},
      {"folders include each other", {"gui/a/x.cpp", "#include \"gui/b/v.h\"\n"}, "gui/a -> gui/b"},
      // Changes reach the simulation through its one entry.
      {"a window writes a kernel field",
       {"gui/a/x.cpp", "  sim_.Kernel.Quantum = 1000 * position;\n"},
       "gui/a/x.cpp:2"},
      {"an atomic stored",
       {"session/x.cpp", "sim->Settings.RealTimeThreshold.store(3);\n"},
       "session/x.cpp:2"},
      {"the run stopped by hand",
       {"scenario/x.cpp", "sim_.StopRunEvent.Reset();\n"},
       "scenario/x.cpp:2"},
      {"a counter moved", {"runner/x.cpp", "++sim.Espera.WaitCounter;\n"}, "runner/x.cpp:2"},
  };
  for (const Case& c : cases) {
    std::vector<SourceFile> files = kSound;
    files.push_back(c.Added);
    const Outcome outcome = Check(files);
    EXPECT_NE(outcome.Status, 0) << c.What;
    EXPECT_NE(outcome.Faults.find(c.Named), std::string::npos) << c.What << ": " << outcome.Faults;
  }
  const Outcome missing = Check(kSound, "timeline");
  EXPECT_NE(missing.Status, 0);
  EXPECT_NE(missing.Faults.find("timeline"), std::string::npos) << missing.Faults;
}

}  // namespace
}  // namespace kelpa
