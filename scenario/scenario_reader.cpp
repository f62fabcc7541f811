// SPDX-License-Identifier: MIT
#include "scenario/scenario_reader.h"

#include <filesystem>

#include "catalogue/messages.h"
#include "catalogue/shown_text.h"
#include "platform/ini_text.h"
#include "scenario/scenario_builder.h"
#include "scenario/scenario_document.h"

namespace kelpa {

std::string ScenarioError::Text() const {
  // The reason's values were made safe to show as it was built; the name is shown whole.
  const std::string file = EscapedText(File);
  return Line > 0 ? file + ":" + std::to_string(Line) + ": " + Reason : file + ": " + Reason;
}

std::optional<ScenarioOverride> ParseOverride(std::string_view text) {
  const auto equals = text.find('=');
  if (equals == std::string_view::npos) {
    return std::nullopt;
  }
  const auto dot = text.substr(0, equals).rfind('.');
  if (dot == std::string_view::npos) {
    return std::nullopt;
  }
  const auto section = TrimBlanks(text.substr(0, dot));
  const auto key = TrimBlanks(text.substr(dot + 1, equals - dot - 1));
  if (section.empty() || key.empty()) {
    return std::nullopt;
  }
  return ScenarioOverride{std::string(section), std::string(key),
                          std::string(text.substr(equals + 1)), "--set"};
}

ScenarioReading ParseScenario(std::string_view bytes, const std::string& fileName,
                              const TMessages& msg,
                              const std::vector<ScenarioOverride>& overrides) {
  ScenarioDocument doc;
  auto error = ReadScenarioDocument(bytes, fileName, msg, doc);
  if (!error) {
    error = ApplyOverrides(overrides, msg, doc);
  }
  if (error) {
    return {std::nullopt, std::move(error)};
  }
  return BuildScenario(doc, fileName, msg);
}

std::optional<std::string> ReadScenarioBytes(const std::string& path, const TMessages& msg,
                                             ScenarioError& error) {
  // One byte past the limit is enough for the parser to say the file is too large.
  auto bytes = ReadRegularFile(path, kMaxIniFileSize);
  if (!bytes) {
    // A pipe or a device (a piped /dev/stdin) may be readable, but only regular files are read.
    std::error_code statusError;
    const auto status = std::filesystem::status(path, statusError);
    const bool irregular =
        std::filesystem::exists(status) && !std::filesystem::is_regular_file(status);
    error =
        ScenarioError{path, 0, irregular ? msg.MsgCenNaoArquivoComum : msg.MsgCenArquivoIlegivel};
  }
  return bytes;
}

ScenarioReading ReadScenarioFile(const std::string& path, const TMessages& msg,
                                 const std::vector<ScenarioOverride>& overrides) {
  ScenarioError error;
  const auto bytes = ReadScenarioBytes(path, msg, error);
  if (!bytes) {
    return {std::nullopt, error};
  }
  return ParseScenario(*bytes, path, msg, overrides);
}

}  // namespace kelpa
