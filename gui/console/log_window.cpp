// SPDX-License-Identifier: MIT
#include "gui/console/log_window.h"

#include <QCloseEvent>
#include <QMenu>
#include <QMetaObject>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

#include "gui/common/qt_convert.h"
#include "gui/common/readable_text.h"

namespace kelpa {

TfrmLog::TfrmLog(TLogWriter& log, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      log_(log) {
  setObjectName(QStringLiteral("frmLog"));
  setWindowTitle(QStringLiteral("Log"));
  setFont(ClassicFont(QStringLiteral("MS Sans Serif"), 8));
  // A secondary window: closing it must never end the program.
  setAttribute(Qt::WA_QuitOnClose, false);
  resize(425, 250);
  move(43, 471);

  memLog = new QTextEdit(this);
  memLog->setObjectName(QStringLiteral("memLog"));
  memLog->setReadOnly(true);
  // Lines are inserted as plain text in their colour; nothing in them is markup.
  memLog->setAcceptRichText(false);
  memLog->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  memLog->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  memLog->setLineWrapMode(QTextEdit::WidgetWidth);
  memLog->document()->setUndoRedoEnabled(false);
  QPalette palette = memLog->palette();
  palette.setColor(QPalette::Base, Qt::white);
  memLog->setPalette(palette);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(memLog);
  FollowNewestLines();

  log_.SetPendingNotifier([this] { ScheduleDrain(); });
  // Lines published before the window subscribed.
  DrainPending();
}

void TfrmLog::EnableCsvExport(const TMessages& msg, std::function<std::string()> csv) {
  msg_ = &msg;
  csv_ = std::move(csv);
  memLog->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(memLog, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { ShowMenu(at); });
}

void TfrmLog::ShowMenu(const QPoint& at) {
  QMenu* menu = memLog->createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addSeparator();
  QAction* item = menu->addAction(ToQString(msg_->MsgExportarCsv));
  item->setObjectName("ExportarCsv1");
  connect(item, &QAction::triggered, this, [this] { ExportCsvClick(); });
  menu->popup(memLog->viewport()->mapToGlobal(at));
}

void TfrmLog::ExportCsvClick() {
  const QString file = Export.Choose(this, ToQString(msg_->MsgFiltroCsv), "csv");
  if (!file.isEmpty()) {
    ExportCsvTo(file);
  }
}

bool TfrmLog::ExportCsvTo(const QString& file) {
  return csv_ && Export.Write(this, file, csv_(), ToQString(msg_->MsgNaoGravouArquivo));
}

TfrmLog::~TfrmLog() {
  // Waits for a notification under way, so none reaches this window once it is gone.
  log_.SetPendingNotifier(nullptr);
}

void TfrmLog::FollowNewestLines() {
  QScrollBar* bar = memLog->verticalScrollBar();
  // The view lays its text out in steps, also while hidden and after a resize: every growth of
  // the range, not only the append that caused it, must keep a following view at the bottom.
  connect(bar, &QScrollBar::rangeChanged, this, [this] {
    if (followNewest_) {
      ScrollToNewest();
    }
  });
  // Within a line of the bottom counts as at the bottom.
  connect(bar, &QScrollBar::valueChanged, this,
          [this, bar](int value) { followNewest_ = bar->maximum() - value <= bar->singleStep(); });
}

void TfrmLog::ScrollToNewest() {
  QScrollBar* bar = memLog->verticalScrollBar();
  bar->setValue(bar->maximum());
}

void TfrmLog::ScheduleDrain() {
  // A shown view lays out every change it takes, about a tenth of a millisecond a line, so lines
  // are gathered and taken together at the next turn of the event loop. One queued drain at a
  // time is enough: it takes every line published before it runs.
  if (!drainPosted_.exchange(true)) {
    QMetaObject::invokeMethod(
        this,
        [this] {
          drainPosted_ = false;
          DrainPending();
        },
        Qt::QueuedConnection);
  }
}

void TfrmLog::DrainPending() {
  // Published lines are in the file already: the view is never ahead of it.
  const auto lines = log_.TakePending();
  if (lines.empty()) {
    return;
  }
  // Appending line by line would start the view over each time it reaches its capacity; the
  // result is the same as starting over once and appending only the lines after the last
  // start-over, which spares laying out lines nobody would see.
  std::size_t first = 0;
  const std::size_t total = static_cast<std::size_t>(lineCount_) + lines.size();
  if (total > static_cast<std::size_t>(kViewCapacity)) {
    const std::size_t kept = (total - kViewCapacity - 1) % kViewCapacity + 1;
    first = lines.size() - kept;
    memLog->clear();
    lineCount_ = 0;
  }
  AppendLines(lines, first);
}

void TfrmLog::AppendLines(const std::vector<std::pair<std::string, TColor>>& lines,
                          std::size_t first) {
  // One edit for the whole batch: the view lays its text out once, not once per line.
  QTextCursor cursor(memLog->document());
  cursor.movePosition(QTextCursor::End);
  cursor.beginEditBlock();
  for (std::size_t i = first; i < lines.size(); ++i) {
    AppendLine(cursor, lines[i].first, lines[i].second);
  }
  cursor.endEditBlock();
}

void TfrmLog::ShowLines(const std::vector<std::pair<std::string, TColor>>& lines) {
  log_.TakePending();
  memLog->clear();
  lineCount_ = 0;
  const std::size_t first =
      lines.size() > static_cast<std::size_t>(kViewCapacity) ? lines.size() - kViewCapacity : 0;
  AppendLines(lines, first);
  ScrollToNewest();
}

QColor TfrmLog::TextColour(TColor colour) {
  const auto known = shades_.find(colour);
  if (known != shades_.end()) {
    return known->second;
  }
  // The background is fixed white, so a shade never needs working out again.
  const QColor shade = ReadableShade(ToQColor(colour), memLog->palette().color(QPalette::Base));
  shades_.emplace(colour, shade);
  return shade;
}

void TfrmLog::AppendLine(QTextCursor& cursor, const std::string& line, TColor colour) {
  // A light process colour (yellow, cyan, bright green) would be all but invisible on the white
  // view, above all on a projector: its line is drawn in a darker shade of the same hue.
  QTextCharFormat format;
  format.setForeground(TextColour(colour));
  format.setProperty(kLineColourProperty, ToQColor(colour));
  if (lineCount_ > 0) {
    cursor.insertBlock(QTextBlockFormat(), format);
  }
  cursor.insertText(ToQString(line), format);
  ++lineCount_;
}

void TfrmLog::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  followNewest_ = true;
  ScrollToNewest();
}

void TfrmLog::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closed();
}

}  // namespace kelpa
