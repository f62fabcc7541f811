// SPDX-License-Identifier: MIT
#include "runner/compare_runs.h"

#include <algorithm>
#include <optional>

#include "runner/text_table.h"
#include "simulation/process.h"

namespace kelpa {
namespace {

constexpr std::size_t kTurnaroundCaption = 8;  // Label11 in kStatisticsCaptions

// One figure across the combinations: none where a combination has nothing to show.
struct FigureRow {
  std::string Key;      // csv
  std::string Caption;  // text
  std::vector<std::optional<std::string>> Values;
};

// The scenario process numbers of every combination, in the order they first appear (a drawn
// workload may differ from one combination to the next).
std::vector<int> ProcessNumbers(const std::vector<RunFigures>& results) {
  std::vector<int> numbers;
  for (const RunFigures& r : results) {
    for (const ProcessFigures& f : r.Processes) {
      if (std::find(numbers.begin(), numbers.end(), f.Number) == numbers.end()) {
        numbers.push_back(f.Number);
      }
    }
  }
  return numbers;
}

const ProcessFigures* FiguresOf(const RunFigures& r, int number) {
  const auto found = std::find_if(r.Processes.begin(), r.Processes.end(),
                                  [&](const ProcessFigures& f) { return f.Number == number; });
  return found != r.Processes.end() ? &*found : nullptr;
}

class Rows {
 public:
  Rows(const ComparisonTable& table, const StatisticsCaptionTexts& captions, const TMessages& msg,
       bool text)
      : table_(table), captions_(captions), msg_(msg), text_(text) {}

  std::vector<FigureRow> Build() {
    Statistics();
    const std::vector<int> numbers = ProcessNumbers(table_.Results);
    for (const int number : numbers) {
      Process(number);
    }
    // Each process's life in ticks after every row there was before, then the means and totals.
    if (text_) {
      rows_.push_back({"", msg_.MsgTicksTitulo, {}});
    }
    for (const int number : numbers) {
      Ticks(number);
    }
    Summary();
    return std::move(rows_);
  }

 private:
  void Statistics() {
    std::vector<std::vector<StatisticRow>> columns;
    for (const RunFigures& r : table_.Results) {
      columns.push_back(StatisticRows(r.Statistics, captions_));
    }
    for (std::size_t i = 0; i < kStatisticsCaptions.size(); ++i) {
      FigureRow& row = rows_.emplace_back();
      row.Key = columns.front()[i].Key;
      row.Caption = *columns.front()[i].Caption;
      for (const auto& column : columns) {
        row.Values.push_back(text_ ? std::optional(StatisticText(column[i])) : column[i].Value);
      }
    }
  }

  // One value per combination from the process's figures; none where it did not exist.
  template <typename Value>
  FigureRow& Add(int number, const std::string& key, const std::string& caption, Value value) {
    FigureRow& row = rows_.emplace_back();
    row.Key = "process_" + std::to_string(number) + "_" + key;
    row.Caption = "  " + caption;
    for (const RunFigures& r : table_.Results) {
      const ProcessFigures* f = FiguresOf(r, number);
      row.Values.push_back(f != nullptr ? value(*f) : std::nullopt);
    }
    return row;
  }

  void Process(int number) {
    if (text_) {
      rows_.push_back({"", msg_.MsgRunProcesso + " " + std::to_string(number), {}});
    }
    Add(number, "cpu_ms", msg_.MsgColUCP, [this](const ProcessFigures& f) {
      return std::optional(text_ ? VirtualTimeText(f.CpuMs) : std::to_string(f.CpuMs));
    });
    for (int s = 0; s < kStateCount; ++s) {
      const auto state = static_cast<ProcessState>(s);
      const std::size_t index = static_cast<std::size_t>(s);
      const FigureRow& row = Add(number, "ticks_" + std::string(StateCode(state)),
                                 StateName(msg_, state), [index](const ProcessFigures& f) {
                                   return std::optional(std::to_string(f.TicksIn[index]));
                                 });
      const bool spent = std::any_of(row.Values.begin(), row.Values.end(),
                                     [](const auto& v) { return v && *v != "0"; });
      if (text_ && !spent) {
        rows_.pop_back();  // a state no combination spent a tick in says nothing
      }
    }
    Add(number, "turnaround_ms", captions_[kTurnaroundCaption],
        [this](const ProcessFigures& f) -> std::optional<std::string> {
          if (!f.TurnaroundMs) {
            return text_ ? std::optional<std::string>("-") : std::nullopt;
          }
          return text_ ? VirtualTimeText(*f.TurnaroundMs) : std::to_string(*f.TurnaroundMs);
        });
  }

  void Ticks(int number) {
    if (text_) {
      rows_.push_back({"", msg_.MsgRunProcesso + " " + std::to_string(number), {}});
    }
    ProcessTicks created;
    created.Created = true;
    const std::vector<TickField> fields = ProcessTickFields(created, msg_);
    for (std::size_t i = 0; i < fields.size(); ++i) {
      Add(number, std::string(fields[i].Key), *fields[i].Caption,
          [this, i](const ProcessFigures& f) -> std::optional<std::string> {
            const auto value = ProcessTickFields(f, msg_)[i].Value;
            return text_ ? std::optional(value.value_or("-")) : value;
          });
    }
  }

  void Summary() {
    std::vector<std::vector<TickField>> columns;
    for (const RunFigures& r : table_.Results) {
      std::vector<const ProcessTicks*> all;
      for (const ProcessFigures& f : r.Processes) {
        all.push_back(&f);
      }
      columns.push_back(SummaryTickFields(SummariseTicks(all), msg_));
    }
    if (columns.empty()) {
      return;
    }
    if (text_) {
      rows_.push_back({"", msg_.MsgTicksMedia, {}});
    }
    for (std::size_t i = 0; i < columns.front().size(); ++i) {
      if (text_ && i == kSummaryMeans + 1) {
        rows_.push_back({"", msg_.MsgTicksTotal, {}});
      }
      FigureRow& row = rows_.emplace_back();
      row.Key = columns.front()[i].Key;
      row.Caption = "  " + *columns.front()[i].Caption;
      for (const auto& column : columns) {
        row.Values.push_back(text_ ? std::optional(column[i].Value.value_or("-"))
                                   : column[i].Value);
      }
    }
  }

  const ComparisonTable& table_;
  const StatisticsCaptionTexts& captions_;
  const TMessages& msg_;
  const bool text_;
  std::vector<FigureRow> rows_;
};

void WriteCsv(OutputBuffer& out, const ComparisonTable& table, const std::vector<FigureRow>& rows) {
  out << "statistic";
  for (const Combination& c : table.Combinations) {
    out << ',';
    out.CsvField(c.Label);
  }
  out << '\n';
  for (const FigureRow& row : rows) {
    out << row.Key;
    for (const auto& value : row.Values) {
      out << ',' << value.value_or("");
    }
    out << '\n';
  }
}

// The columns of the combinations first to last, as many per table as fit in width.
void WriteText(OutputBuffer& out, const ComparisonTable& table, const std::vector<FigureRow>& rows,
               int width) {
  std::vector<TextRow> full;
  for (std::size_t v = 0; v < table.VaryNames.size(); ++v) {
    TextRow& heading = full.emplace_back(TextRow{table.VaryNames[v]});
    for (const Combination& c : table.Combinations) {
      heading.push_back(v < c.Overrides.size() ? c.Overrides[v].Value : "");
    }
  }
  for (const FigureRow& row : rows) {
    TextRow& line = full.emplace_back(TextRow{row.Caption});
    for (const auto& value : row.Values) {
      line.push_back(value.value_or(""));
    }
  }
  const auto columnWidth = [&](std::size_t c) {
    std::size_t widest = 0;
    for (const TextRow& row : full) {
      widest = c < row.size() ? std::max(widest, Characters(row[c])) : widest;
    }
    return widest;
  };
  const std::size_t limit = static_cast<std::size_t>(std::max(width, 1));
  const std::size_t captionWidth = columnWidth(0);
  std::size_t first = 1;
  while (first <= table.Combinations.size()) {
    std::size_t end = first;
    std::size_t used = captionWidth;
    // At least one column per table, however narrow the terminal.
    while (end <= table.Combinations.size() &&
           (end == first || used + 2 + columnWidth(end) <= limit)) {
      used += 2 + columnWidth(end);
      ++end;
    }
    if (first > 1) {
      out << '\n';
    }
    std::vector<TextRow> part;
    for (const TextRow& row : full) {
      TextRow& line = part.emplace_back(TextRow{row.front()});
      for (std::size_t c = first; c < end && c < row.size(); ++c) {
        line.push_back(row[c]);
      }
    }
    WriteTextTable(out, part);
    first = end;
  }
}

}  // namespace

std::vector<Combination> Combinations(const std::vector<VaryOption>& varies) {
  std::vector<Combination> combinations = {{}};
  for (const VaryOption& vary : varies) {
    std::vector<Combination> next;
    for (const Combination& base : combinations) {
      for (const std::string& value : vary.Values) {
        Combination c = base;
        c.Label += (c.Label.empty() ? "" : " ") + vary.Name + "=" + value;
        c.Overrides.push_back({vary.Key.Section, vary.Key.Key, value, "--vary"});
        next.push_back(std::move(c));
      }
    }
    combinations = std::move(next);
  }
  return combinations;
}

void WriteComparison(OutputBuffer& out, TraceFormat format, const ComparisonTable& table,
                     const StatisticsCaptionTexts& captions, const TMessages& msg, int width) {
  const bool text = format != TraceFormat::Csv;
  const std::vector<FigureRow> rows = Rows(table, captions, msg, text).Build();
  if (text) {
    WriteText(out, table, rows, width);
  } else {
    WriteCsv(out, table, rows);
  }
}

}  // namespace kelpa
