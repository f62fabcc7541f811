// The log: every line stamped "hh:nn:ss:zzz : text", written whole to the log file with CRLF and
// flushed at once (so nothing is lost if the program dies), and queued for a view. Callable from
// any thread: lines never interleave and the file, the queue and the view share one order. A file
// that cannot be created or written never stops anything; a failed creation is reported once.
#pragma once

#include <cstddef>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "console/error_reporter.h"
#include "core/clock.h"
#include "core/log.h"

namespace kelpa {

class TLogWriter : public ILog {
 public:
  // Lines queued for a view and not yet taken; past this the oldest are dropped, so a log
  // nobody drains cannot grow without bound.
  static constexpr std::size_t kMaxPending = 100000;

  // Creates (or empties) "log" + mmddhhnn + ".txt" in the current directory, named from the
  // clock's time now. A failure is reported through reporter (when given) and logging goes on
  // without a file.
  TLogWriter(const IClock& clock, IErrorReporter* reporter);
  ~TLogWriter() override;
  TLogWriter(const TLogWriter&) = delete;
  TLogWriter& operator=(const TLogWriter&) = delete;

  void AddLine(const std::string& text, TColor colour) override;

  // The stamped lines queued since the last call, oldest first.
  std::vector<std::pair<std::string, TColor>> TakePending();
  // Called after a line is queued, outside the writer's lock, on the thread that logged it.
  void SetPendingNotifier(std::function<void()> notifier);

  // The name as created: relative to the directory that was current at creation.
  const std::string& FileName() const { return fileName_; }
  bool HasFile() const;

 private:
  // Appends one line to the file; after a failed write the file ends with its last whole line.
  void WriteRecord(const std::string& record);

  const IClock& clock_;
  std::string fileName_;
  std::string fullPath_;
  // Bytes of whole lines in the file.
  std::size_t written_ = 0;
  mutable std::mutex mutex_;
  std::FILE* file_ = nullptr;
  std::deque<std::pair<std::string, TColor>> pending_;
  std::function<void()> notifier_;
};

}  // namespace kelpa
