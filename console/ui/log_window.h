// The log window: every logged line, in its colour, in a read-only rich-text view, while the log
// writer keeps the file. Lines may come from any thread; they are appended on the user-interface
// thread in the order they were logged, in batches while the window is shown. Closing only hides
// the window. Threads that log must have ended before the window is destroyed.
#pragma once

#include <QWidget>
#include <atomic>
#include <functional>
#include <string>

#include "console/error_reporter.h"
#include "console/log_writer.h"
#include "core/clock.h"
#include "core/log.h"

class QTextCursor;
class QTextEdit;

namespace kelpa {

class TfrmLog : public QWidget, public ILog {
  Q_OBJECT

 public:
  // Lines the view holds; the next line empties it and starts it again. The file keeps all.
  static constexpr int kViewCapacity = 10000;

  TfrmLog(const IClock& clock, IErrorReporter& reporter, QWidget* parent = nullptr);
  ~TfrmLog() override;

  void AddLine(const std::string& text, TColor colour) override;

  // Called when the user closes the window (it is then hidden), so the console can clear its
  // menu check mark.
  std::function<void()> OnClosed;

  const std::string& FileName() const { return writer_.FileName(); }
  // Lines now in the view.
  int LineCount() const { return lineCount_; }

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  // The view follows the newest line until the reader scrolls away from the bottom, and again
  // once they come back to it or the window is shown anew.
  void FollowNewestLines();
  void ScrollToNewest();
  void ScheduleDrain();
  void DrainPending();
  // Appends one line at the cursor, which is at the end of the view.
  void AppendLine(QTextCursor& cursor, const std::string& line, TColor colour);

  TLogWriter writer_;
  QTextEdit* memLog = nullptr;
  int lineCount_ = 0;
  bool followNewest_ = true;
  std::atomic<bool> drainPosted_{false};
};

}  // namespace kelpa
