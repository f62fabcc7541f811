// The log: every line stamped "hh:nn:ss:zzz : text", written whole to the log file with CRLF and
// flushed at once (so nothing is lost if the program dies), and queued for a view. Callable from
// any thread: lines never interleave and the file, the queue and the view share one order. A file
// that cannot be created or written never stops anything; a failed creation is reported once.
// Optionally the lines of other threads are written by a writer thread of the log's own, so that
// a simulation thread logging under the simulation lock never waits for the disk.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
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
  // clock's time now, and holds it locked while the log lives. When another running copy holds
  // that file, it is left alone and the log is "log" + mmddhhnn + "-2.txt" (or -3, ...). A failure
  // is reported through reporter (when given) and logging goes on without a file.
  TLogWriter(const IClock& clock, IErrorReporter* reporter);
  ~TLogWriter() override;
  TLogWriter(const TLogWriter&) = delete;
  TLogWriter& operator=(const TLogWriter&) = delete;

  void AddLine(const std::string& text, TColor colour) override;

  // From now on the lines of threads other than the calling one are written by a writer thread:
  // they reach the file within moments, in their order, and all of them before the log is
  // destroyed. Lines of the calling thread, and Flush, still write everything logged before
  // them at once. Call once, before other threads log.
  void WriteOtherThreadsInBackground();
  // Writes every line logged so far to the file before it returns.
  void Flush();

  // The stamped lines queued since the last call, oldest first.
  std::vector<std::pair<std::string, TColor>> TakePending();
  // Called after a line is queued, outside the writer's lock, on the thread that logged it.
  void SetPendingNotifier(std::function<void()> notifier);

  // The name as created: relative to the directory that was current at creation.
  const std::string& FileName() const { return fileName_; }
  bool HasFile() const;

 private:
  // Writes the lines not yet written, in their order. Only one thread writes at a time.
  void WriteQueued();
  // Appends whole lines to the file; after a failed write it ends with its last whole line.
  void WriteRecords(const std::vector<std::string>& records);
  // Appends whole lines in one write; false (and the open file cut back to its last whole line)
  // when the write failed.
  bool WriteRecord(const std::string& record);
  void WriterLoop();

  const IClock& clock_;
  std::string fileName_;
  // Guards the file and written_; taken before mutex_ when both are held.
  std::mutex fileMutex_;
  // Bytes of whole lines in the file.
  std::size_t written_ = 0;
  mutable std::mutex mutex_;
  std::FILE* file_ = nullptr;
  std::deque<std::pair<std::string, TColor>> pending_;
  std::function<void()> notifier_;
  // Lines stamped but not yet written, each with its CRLF.
  std::vector<std::string> unwritten_;
  bool background_ = false;
  std::thread::id direct_;  // with background_: the thread whose lines are written at once
  bool writerWaiting_ = false;
  bool stopping_ = false;
  std::condition_variable wake_;
  std::thread writer_;
};

}  // namespace kelpa
