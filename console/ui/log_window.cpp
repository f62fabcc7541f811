#include "console/ui/log_window.h"

#include <QCloseEvent>
#include <QMetaObject>
#include <QScrollBar>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <QThread>
#include <QVBoxLayout>

#include "ui/common/qt_convert.h"

namespace kelpa {

TfrmLog::TfrmLog(const IClock& clock, IErrorReporter& reporter, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint),
      writer_(clock, &reporter) {
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
  memLog->setAcceptRichText(true);
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

  writer_.SetPendingNotifier([this] { ScheduleDrain(); });
}

TfrmLog::~TfrmLog() {
  writer_.SetPendingNotifier(nullptr);
}

void TfrmLog::AddLine(const std::string& text, TColor colour) {
  writer_.AddLine(text, colour);
}

void TfrmLog::ScheduleDrain() {
  if (QThread::currentThread() == thread()) {
    DrainPending();
    return;
  }
  // One queued drain at a time is enough: it takes every line queued before it runs.
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
  const auto lines = writer_.TakePending();
  if (lines.empty()) {
    return;
  }
  QScrollBar* bar = memLog->verticalScrollBar();
  const bool followEnd = bar->value() == bar->maximum();
  for (const auto& [line, colour] : lines) {
    AppendLine(line, colour);
  }
  if (followEnd) {
    bar->setValue(bar->maximum());
  }
}

void TfrmLog::AppendLine(const std::string& line, TColor colour) {
  if (lineCount_ >= kViewCapacity) {
    memLog->clear();
    lineCount_ = 0;
  }
  QTextCursor cursor(memLog->document());
  cursor.movePosition(QTextCursor::End);
  QTextCharFormat format;
  format.setForeground(ToQColor(colour));
  if (lineCount_ > 0) {
    cursor.insertBlock(QTextBlockFormat(), format);
  }
  cursor.insertText(ToQString(line), format);
  ++lineCount_;
}

void TfrmLog::closeEvent(QCloseEvent* event) {
  event->accept();
  if (OnClosed) {
    OnClosed();
  }
}

}  // namespace kelpa
