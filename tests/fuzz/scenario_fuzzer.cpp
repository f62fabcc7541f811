// SPDX-License-Identifier: MIT
// Any bytes as a scenario file, with an override taken from the input's last line: reading must
// neither crash nor hang; a refusal always says why; a scenario read is written back to a text
// that reads to the same scenario and writes to the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "catalogue/messages.h"
#include "scenario/scenario_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const kelpa::TMessages msg;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::vector<kelpa::ScenarioOverride> overrides;
  const auto lastLine = bytes.find_last_of('\n');
  if (lastLine != std::string_view::npos) {
    if (auto given = kelpa::ParseOverride(bytes.substr(lastLine + 1))) {
      overrides.push_back(*given);
    }
  }
  const kelpa::ScenarioReading read = kelpa::ParseScenario(bytes, "fuzz.ini", msg, overrides);
  if (read.Value.has_value() == read.Error.has_value()) {
    std::abort();
  }
  if (read.Error) {
    if (read.Error->Reason.empty()) {
      std::abort();
    }
    return 0;
  }
  const std::string written = kelpa::WriteScenario(*read.Value);
  const kelpa::ScenarioReading again = kelpa::ParseScenario(written, "written.ini", msg);
  if (!again.Value || !(*again.Value == *read.Value) ||
      kelpa::WriteScenario(*again.Value) != written) {
    std::abort();
  }
  return 0;
}
