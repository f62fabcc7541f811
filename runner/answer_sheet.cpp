// SPDX-License-Identifier: MIT
#include "runner/answer_sheet.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <set>

#include "catalogue/fill_in.h"
#include "catalogue/shown_text.h"
#include "exports/run_figures.h"
#include "platform/ini_text.h"

namespace kelpa {
namespace {

constexpr std::array<std::string_view, 4> kProcessorCodes = {"IDLE", "INT_PREEMPT", "INT_SLICE",
                                                             "INT_PF"};
// Not yet arrived, or ended: the runner's "-".
constexpr std::string_view kNoProcess = "-";

std::optional<std::int64_t> Number(std::string_view text) {
  std::int64_t n = 0;
  const auto end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, n);
  if (text.empty() || text.front() == '-' || result.ec != std::errc() || result.ptr != end) {
    return std::nullopt;
  }
  return n;
}

// A line's cells: a quoted cell may hold the separator, and "" within it is a quote. None when a
// quote is left open (a cell that runs on to the next line is not a table of states).
std::optional<std::vector<std::string>> Cells(std::string_view line, char separator) {
  std::vector<std::string> cells;
  std::size_t at = 0;
  while (true) {
    std::string cell;
    while (at < line.size() && (line[at] == ' ' || line[at] == '\t') && line[at] != separator) {
      ++at;
    }
    if (at < line.size() && line[at] == '"') {
      ++at;
      while (true) {
        if (at >= line.size()) {
          return std::nullopt;
        }
        if (line[at] == '"' && (at + 1 >= line.size() || line[at + 1] != '"')) {
          ++at;
          break;
        }
        at += line[at] == '"' ? 1 : 0;
        cell += line[at++];
      }
      cell = std::string(TrimBlanks(cell));
      const auto end = line.find(separator, at);
      at = end == std::string_view::npos ? line.size() : end;
    } else {
      const auto end = line.find(separator, at);
      cell = TrimBlanks(line.substr(at, end == std::string_view::npos ? end : end - at));
      at = end == std::string_view::npos ? line.size() : end;
    }
    cells.push_back(std::move(cell));
    if (at >= line.size()) {
      return cells;
    }
    ++at;  // the separator
  }
}

bool IsComment(std::string_view line) {
  line = TrimBlanks(line);
  if (!line.empty() && line.front() == '"') {
    line.remove_prefix(1);
  }
  return !line.empty() && line.front() == '#';
}

// Whitespace, or a spreadsheet's empty row of separators.
bool IsBlank(std::string_view line) {
  return line.find_first_not_of(" \t,;") == std::string_view::npos;
}

class Reader {
 public:
  Reader(const std::string& file, const TMessages& msg, const AnswerSheet* key)
      : file_(file), msg_(msg), key_(key) {}

  AnswerSheetReading Read(std::string_view bytes) {
    if (bytes.size() > kMaxIniFileSize) {
      return Refuse(0, msg_.MsgCenArquivoGrande);
    }
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
      return Refuse(0, msg_.MsgCenArquivoUtf16);
    }
    if (const auto nul = bytes.find('\0'); nul != std::string_view::npos) {
      return Refuse(LineOf(bytes, nul), msg_.MsgCorBinario);
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
      bytes.remove_prefix(3);
    }
    int number = 0;
    bool heading = false;
    while (!bytes.empty()) {
      const auto end = bytes.find('\n');
      std::string_view line = bytes.substr(0, end);
      bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
      ++number;
      if (line.ends_with('\r')) {
        line.remove_suffix(1);
      }
      if (IsBlank(line) || IsComment(line)) {
        continue;
      }
      if (!(heading ? Row(line, number) : Heading(line, number))) {
        return {std::nullopt, error_};
      }
      heading = true;
    }
    if (!heading) {
      return Refuse(0, msg_.MsgCorSemTitulo);
    }
    return {std::move(sheet_), std::nullopt};
  }

 private:
  static int LineOf(std::string_view bytes, std::size_t at) {
    return static_cast<int>(
               std::count(bytes.begin(), bytes.begin() + static_cast<long>(at), '\n')) +
           1;
  }

  AnswerSheetReading Refuse(int line, const std::string& reason) {
    return {std::nullopt, ScenarioError{file_, line, reason}};
  }

  bool Fail(int line, std::string reason) {
    error_ = ScenarioError{file_, line, std::move(reason)};
    return false;
  }

  std::optional<std::vector<std::string>> Split(std::string_view line, int number) {
    auto cells = Cells(line, separator_);
    if (!cells) {
      Fail(number, msg_.MsgCorAspasAbertas);
    }
    return cells;
  }

  bool Heading(std::string_view line, int number) {
    // The separator is the heading's: a spreadsheet set to a comma decimal writes ";".
    separator_ = line.find(';') != std::string_view::npos   ? ';'
                 : line.find(',') != std::string_view::npos ? ','
                                                            : '\t';
    auto cells = Split(line, number);
    if (!cells) {
      return false;
    }
    while (cells->size() > 1 && cells->back().empty()) {
      cells->pop_back();
    }
    if (!SameName(cells->front(), "tick")) {
      return Fail(number, msg_.MsgCorSemTitulo);
    }
    for (std::size_t i = 1; i < cells->size(); ++i) {
      const std::string& cell = (*cells)[i];
      std::string name;
      if (SameName(cell, "cpu")) {
        name = "cpu";
      } else if (const auto n = cell.size() > 1 && (cell[0] == 'P' || cell[0] == 'p')
                                    ? Number(std::string_view(cell).substr(1))
                                    : std::nullopt) {
        // The letter put in front, not concatenated: GCC 12 warns falsely on "P" + std::string
        // at -O3.
        name = std::to_string(*n);
        name.insert(name.begin(), 'P');
      } else {
        return Fail(number, FillInShown(msg_.MsgCorColunaInvalida, {cell}));
      }
      if (std::find(sheet_.Columns.begin(), sheet_.Columns.end(), name) != sheet_.Columns.end()) {
        return Fail(number, FillInShown(msg_.MsgCorColunaRepetida, {cell}));
      }
      if (key_ != nullptr &&
          std::find(key_->Columns.begin(), key_->Columns.end(), name) == key_->Columns.end()) {
        return Fail(number, FillInShown(msg_.MsgCorColunaForaDaChave, {cell}));
      }
      sheet_.Columns.push_back(std::move(name));
    }
    if (key_ != nullptr) {
      for (const AnswerRow& row : key_->Rows) {
        keyTicks_.insert(row.Tick);
      }
    }
    return true;
  }

  bool Row(std::string_view line, int number) {
    auto cells = Split(line, number);
    if (!cells) {
      return false;
    }
    const std::size_t width = sheet_.Columns.size() + 1;
    while (cells->size() > width && cells->back().empty()) {
      cells->pop_back();
    }
    if (cells->size() != width) {
      return Fail(number, FillIn(msg_.MsgCorLinhaIrregular,
                                 {std::to_string(cells->size()), std::to_string(width)}));
    }
    const auto tick = Number(cells->front());
    if (!tick) {
      return Fail(number, FillInShown(msg_.MsgCorTickMalformado, {cells->front()}));
    }
    if (key_ != nullptr && !keyTicks_.contains(*tick)) {
      return Fail(number, FillIn(msg_.MsgCorTickForaDaChave, {std::to_string(*tick)}));
    }
    if (const auto [seen, added] = lines_.emplace(*tick, number); !added) {
      return Fail(number, FillIn(msg_.MsgCorTickRepetido,
                                 {std::to_string(*tick), std::to_string(seen->second)}));
    }
    AnswerRow& row = sheet_.Rows.emplace_back(AnswerRow{*tick, number, {}});
    for (std::size_t i = 1; i < width; ++i) {
      const std::string& column = sheet_.Columns[i - 1];
      const std::string& cell = (*cells)[i];
      if (cell.empty()) {
        if (key_ == nullptr) {
          return Fail(number, FillIn(msg_.MsgCorChaveEmBranco, {column}));
        }
        row.Cells.emplace_back();
        continue;
      }
      auto code = column == "cpu" ? ProcessorCode(cell) : StateCode(cell);
      if (!code) {
        return Fail(number, column == "cpu" ? FillInShown(msg_.MsgCorNaoEProcessador, {cell})
                                            : FillInShown(msg_.MsgCorNaoEEstado, {column, cell}));
      }
      row.Cells.push_back(std::move(code));
    }
    return true;
  }

  // The code, or a name the windows give the state: the catalogue's in force or the built-in one.
  std::optional<std::string> StateCode(std::string_view cell) const {
    if (cell == kNoProcess) {
      return std::string(kNoProcess);
    }
    for (int state = 0; state < kStateCount; ++state) {
      const std::string_view code = kelpa::StateCode(static_cast<ProcessState>(state));
      if (SameName(cell, code) || SameName(cell, msg_.StateName(state)) ||
          SameName(cell, builtIn_.StateName(state))) {
        return std::string(code);
      }
    }
    return std::nullopt;
  }

  static std::optional<std::string> ProcessorCode(std::string_view cell) {
    if (const auto pid = Number(cell)) {
      return std::to_string(*pid);
    }
    for (const std::string_view code : kProcessorCodes) {
      if (SameName(cell, code)) {
        return std::string(code);
      }
    }
    return std::nullopt;
  }

  const std::string& file_;
  const TMessages& msg_;
  const TMessages builtIn_;
  const AnswerSheet* key_;
  char separator_ = ',';
  AnswerSheet sheet_;
  std::set<std::int64_t> keyTicks_;
  std::map<std::int64_t, int> lines_;  // tick -> the line that gave it
  ScenarioError error_;
};

}  // namespace

std::optional<std::vector<std::string>> CsvCells(std::string_view line, char separator) {
  return Cells(line, separator);
}

AnswerSheetReading ReadAnswerSheet(std::string_view bytes, const std::string& file,
                                   const TMessages& msg, const AnswerSheet* key) {
  return Reader(file, msg, key).Read(bytes);
}

AnswerSheetReading ReadAnswerSheetFile(const std::string& path, const TMessages& msg,
                                       const AnswerSheet* key) {
  ScenarioError error;
  const auto bytes = ReadScenarioBytes(path, msg, error);
  if (!bytes) {
    return {std::nullopt, error};
  }
  return ReadAnswerSheet(*bytes, path, msg, key);
}

}  // namespace kelpa
