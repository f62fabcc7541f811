// SPDX-License-Identifier: MIT
// The log window: a view of the log. It subscribes to the log's published lines, each already in
// the file, and appends them in their colour on the user-interface thread, in their order and in
// batches. Closing only hides the window.
#pragma once

#include <QColor>
#include <QTextFormat>
#include <QWidget>
#include <atomic>
#include <functional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "catalogue/messages.h"
#include "gui/common/file_export.h"
#include "session/log_writer.h"

class QTextCursor;
class QTextEdit;

namespace kelpa {

class TfrmLog : public QWidget {
  Q_OBJECT

 public:
  // Lines the view holds; the next line empties it and starts it again. The file keeps all.
  static constexpr int kViewCapacity = 10000;
  // The character property that holds a line's own colour (a QColor): the text itself may be
  // drawn in a darker shade of it, so that it reads on the view's background.
  static constexpr int kLineColourProperty = QTextFormat::UserProperty;

  explicit TfrmLog(TLogWriter& log, QWidget* parent = nullptr);
  ~TfrmLog() override;

  const std::string& FileName() const { return log_.FileName(); }
  // Lines now in the view.
  int LineCount() const { return lineCount_; }
  // The view starts over with these lines (stamped, oldest first, the last kViewCapacity shown);
  // lines published and not yet shown are dropped, as they belong to what the view replaces.
  void ShowLines(const std::vector<std::pair<std::string, TColor>>& lines);

  // Offers "Exportar CSV..." in the view's menu, writing what csv gives.
  void EnableCsvExport(const TMessages& msg, std::function<std::string()> csv);
  // Writes the events as csv into file; false when it failed (already reported).
  bool ExportCsvTo(const QString& file);
  void ExportCsvClick();
  FileExport Export;

 signals:
  // The user closed the window (it is then hidden): the console clears its menu check mark.
  void closed();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The view follows the newest line until the reader scrolls away from the bottom, and again
  // once they come back to it or the window is shown anew.
  void FollowNewestLines();
  void ScrollToNewest();
  // Called on the log's writer thread: one queued drain at a time takes every line published.
  void ScheduleDrain();
  void DrainPending();
  // Appends one line at the cursor, which is at the end of the view.
  void AppendLine(QTextCursor& cursor, const std::string& line, TColor colour);
  // Appends lines[first..] in one edit.
  void AppendLines(const std::vector<std::pair<std::string, TColor>>& lines, std::size_t first);
  // The colour a line of colour is drawn in.
  QColor TextColour(TColor colour);

  void ShowMenu(const QPoint& at);

  TLogWriter& log_;
  QTextEdit* memLog = nullptr;
  const TMessages* msg_ = nullptr;
  std::function<std::string()> csv_;
  int lineCount_ = 0;
  bool followNewest_ = true;
  std::atomic<bool> drainPosted_{false};
  // Each colour's shade, worked out once: a run uses a handful of colours.
  std::unordered_map<TColor, QColor> shades_;
};

}  // namespace kelpa
