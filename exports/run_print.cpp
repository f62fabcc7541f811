// SPDX-License-Identifier: MIT
#include "exports/run_print.h"

#include "catalogue/fill_in.h"

namespace kelpa {

std::vector<std::vector<std::string>> ProcessTickRows(const std::vector<NamedTicks>& processes,
                                                      const TMessages& msg) {
  ProcessTicks created;
  created.Created = true;
  std::vector<std::string> heading = {msg.MsgRunProcesso, msg.MsgColPID};
  for (const TickField& field : ProcessTickFields(created, msg)) {
    heading.push_back(*field.Caption);
  }
  std::vector<std::vector<std::string>> rows = {heading};
  std::vector<const ProcessTicks*> all;
  for (const auto& [name, ticks] : processes) {
    all.push_back(ticks);
    std::vector<std::string> row = {name, ticks->Created ? std::to_string(ticks->Pid) : "-"};
    for (const TickField& field : ProcessTickFields(*ticks, msg)) {
      row.push_back(field.Value.value_or("-"));
    }
    rows.push_back(std::move(row));
  }
  const std::vector<TickField> summary = SummaryTickFields(SummariseTicks(all), msg);
  std::vector<std::string> means = {msg.MsgTicksMedia};
  means.resize(5, "");
  std::vector<std::string> totals = {msg.MsgTicksTotal, ""};
  totals.resize(9, "");
  for (std::size_t i = 0; i < summary.size(); ++i) {
    const std::string value = summary[i].Value.value_or("-");
    if (i < kSummaryMeans) {
      means.push_back(value);
    } else if (i > kSummaryMeans) {
      totals.push_back(value);
    }
  }
  rows.push_back(std::move(means));
  rows.push_back(std::move(totals));
  return rows;
}

namespace {

void Add(PrintDocument& doc, PrintBlock::Kind what, std::string text = {}) {
  PrintBlock block;
  block.What = what;
  block.Text = std::move(text);
  doc.Blocks.push_back(std::move(block));
}

void AddTable(PrintDocument& doc, PrintTable table) {
  PrintBlock block;
  block.What = PrintBlock::Kind::Table;
  block.Table = std::move(table);
  doc.Blocks.push_back(std::move(block));
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line + '\n';
  }
  return text;
}

}  // namespace

PrintDocument RunPrintDocument(const RunPrint& run, const TMessages& msg,
                               const StatisticsCaptionTexts& captions) {
  PrintDocument doc;
  doc.Title = FillIn(msg.MsgPdfTitulo, {run.Name});
  doc.PageFooter = msg.MsgPdfRodape;
  Add(doc, PrintBlock::Kind::Title, doc.Title);
  if (!run.Header.empty()) {
    Add(doc, PrintBlock::Kind::Heading, msg.MsgPdfCabecalho);
    Add(doc, PrintBlock::Kind::Preformatted, Joined(run.Header));
  }
  if (run.Timeline) {
    Add(doc, PrintBlock::Kind::Heading, msg.MsgTitLinhaDoTempo);
    PrintBlock block;
    block.What = PrintBlock::Kind::Timeline;
    block.Timeline.Model = run.Timeline;
    block.Timeline.Frame = run.Frame;
    block.Timeline.Frame.Header.clear();
    block.Timeline.Texts = TimelineTextsFrom(msg);
    doc.Blocks.push_back(std::move(block));
  }
  if (run.Statistics != nullptr) {
    Add(doc, PrintBlock::Kind::Heading, msg.MsgTitEstatisticas);
    PrintTable table;
    table.Columns = {msg.MsgTitEstatisticas, msg.MsgPdfValor};
    table.RightAligned = {false, true};
    for (const StatisticRow& row : StatisticRows(*run.Statistics, captions)) {
      table.Rows.push_back({*row.Caption, StatisticText(row)});
    }
    AddTable(doc, std::move(table));
  }
  if (!run.Processes.empty()) {
    Add(doc, PrintBlock::Kind::Heading, msg.MsgTicksTitulo);
    auto rows = ProcessTickRows(run.Processes, msg);
    PrintTable table;
    table.Columns = std::move(rows.front());
    rows.erase(rows.begin());
    table.Rows = std::move(rows);
    table.RightAligned.assign(table.Columns.size(), true);
    table.RightAligned[0] = false;
    AddTable(doc, std::move(table));
  }
  if (!run.States.Columns.empty()) {
    Add(doc, PrintBlock::Kind::Heading, msg.MsgPdfEstados);
    AddTable(doc, run.States);
  }
  return doc;
}

}  // namespace kelpa
