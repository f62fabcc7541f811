// SPDX-License-Identifier: MIT
#include "runner/class_grading.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <map>
#include <tuple>
#include <vector>

#include "platform/ini_text.h"
#include "runner/answer_sheet.h"
#include "runner/grading.h"
#include "runner/homework.h"

namespace kelpa {
namespace {

namespace fs = std::filesystem;

// The number a stem begins with, so that "100-x" comes after "99-y".
long long Order(const std::string& stem) {
  long long n = 0;
  std::from_chars(stem.data(), stem.data() + stem.size(), n);
  return n;
}

// Stem to name, from the index --tarefa wrote; empty when there is none or it cannot be read
// (the grades do without the names).
std::map<std::string, std::string> Names(const fs::path& folder, const TMessages& msg) {
  std::map<std::string, std::string> names;
  ScenarioError error;
  const auto bytes = ReadScenarioBytes((folder / kHomeworkIndex).string(), msg, error);
  if (!bytes) {
    return names;
  }
  std::string_view text = *bytes;
  if (text.starts_with("\xEF\xBB\xBF")) {
    text.remove_prefix(3);
  }
  std::optional<std::size_t> nameAt;
  std::optional<std::size_t> stemAt;
  bool heading = true;
  char separator = ',';
  while (!text.empty()) {
    const auto end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (line.ends_with('\r')) {
      line.remove_suffix(1);
    }
    // A spreadsheet saves with its own separator, which its heading shows (a name may hold
    // the other one, quoted).
    if (heading) {
      separator = line.find(';') != std::string_view::npos ? ';' : ',';
    }
    const auto cells = CsvCells(line, separator);
    if (!cells) {
      continue;
    }
    if (heading) {
      for (std::size_t i = 0; i < cells->size(); ++i) {
        if (SameName((*cells)[i], "name")) {
          nameAt = i;
        } else if (SameName((*cells)[i], "stem")) {
          stemAt = i;
        }
      }
      heading = false;
      if (!nameAt || !stemAt) {
        return names;
      }
      continue;
    }
    if (cells->size() > std::max(*nameAt, *stemAt)) {
      names.emplace((*cells)[*stemAt], (*cells)[*nameAt]);
    }
  }
  return names;
}

std::string Percent(std::size_t part, std::size_t whole) {
  return std::to_string(whole == 0 ? 0 : part * 100 / whole);
}

}  // namespace

std::optional<ScenarioError> GradeFolder(const std::string& folder, const TMessages& msg,
                                         std::ostream& out) {
  const fs::path dir(folder);
  std::vector<std::string> stems;
  std::error_code error;
  for (fs::directory_iterator it(dir, error), end; !error && it != end; it.increment(error)) {
    const std::string file = it->path().filename().string();
    if (file.size() > kHomeworkKeyCsv.size() && file.ends_with(kHomeworkKeyCsv)) {
      stems.push_back(file.substr(0, file.size() - kHomeworkKeyCsv.size()));
    }
  }
  if (stems.empty()) {
    return ScenarioError{folder, 0, msg.MsgCorSemChaves};
  }
  std::sort(stems.begin(), stems.end(), [](const std::string& a, const std::string& b) {
    return std::tuple(Order(a), a) < std::tuple(Order(b), b);
  });
  const auto names = Names(dir, msg);
  out << "stem,name,right,answered,total,percent,status,message\n";
  for (const std::string& stem : stems) {
    const auto name = names.find(stem);
    out << CsvCell(stem) << ',' << CsvCell(name == names.end() ? "" : name->second) << ',';
    const auto key =
        ReadAnswerSheetFile((dir / HomeworkFile(stem, kHomeworkKeyCsv)).string(), msg, nullptr);
    if (!key.Sheet) {
      out << ",,,," << CsvCell(msg.MsgCorIlegivel) << ',' << CsvCell(key.Error->Text()) << '\n';
      continue;
    }
    const std::string total = std::to_string(key.Sheet->Rows.size() * key.Sheet->Columns.size());
    const fs::path answers = dir / HomeworkFile(stem, kHomeworkAnswers);
    const auto sheet = fs::exists(answers, error)
                           ? ReadAnswerSheetFile(answers.string(), msg, &*key.Sheet)
                           : AnswerSheetReading{};
    if (sheet.Error) {
      out << ",," << total << ",," << CsvCell(msg.MsgCorIlegivel) << ','
          << CsvCell(sheet.Error->Text()) << '\n';
      continue;
    }
    // No file, or the table --tarefa wrote still blank: the student handed nothing in.
    const GradeResult grade = sheet.Sheet ? GradeAnswers(*key.Sheet, *sheet.Sheet) : GradeResult{};
    if (grade.Answered == 0) {
      out << ",," << total << ",," << CsvCell(msg.MsgCorNaoEntregue) << ",\n";
      continue;
    }
    out << grade.Right << ',' << grade.Answered << ',' << grade.Total << ','
        << Percent(grade.Right, grade.Total) << ',' << CsvCell(msg.MsgCorCorrigida) << ",\n";
  }
  return std::nullopt;
}

}  // namespace kelpa
