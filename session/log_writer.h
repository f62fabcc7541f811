// SPDX-License-Identifier: MIT
// The log: every line stamped "hh:nn:ss:zzz : text", written whole to the log file with CRLF, and
// then published for a view. Callable from any thread: lines never interleave, and the file and
// the published lines share one order. One writer thread of the log's own writes the file, so no
// thread that logs (a simulation thread holding the simulation lock, say) ever waits for the disk,
// and a line is published only once it is in the file. A file that cannot be created or written
// never stops anything; a failed creation is reported once.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "platform/clock.h"
#include "platform/error_reporter.h"
#include "simulation/log.h"

namespace kelpa {

class TLogWriter : public ILog {
 public:
  // Lines published for a view and not yet taken; past this the oldest are dropped, so a log
  // nobody drains cannot grow without bound.
  static constexpr std::size_t kMaxPending = 100000;

  // Creates "log" + mmddhhnn + ".txt" in the current directory, named from the clock's time now.
  // When a log of that name exists (an earlier run's, or a running copy's), it is left as it is
  // and the log is "log" + mmddhhnn + "-2.txt" (or -3, ..., the first that is free). A failure is
  // reported through reporter (when given) and logging goes on without a file.
  TLogWriter(const IClock& clock, IErrorReporter* reporter);
  // Writes and publishes every line logged before it, then ends the writer thread.
  ~TLogWriter() override;
  TLogWriter(const TLogWriter&) = delete;
  TLogWriter& operator=(const TLogWriter&) = delete;

  // Stamps the line and queues it for the writer thread; never waits for the disk.
  void AddLine(const std::string& text, TColor colour) override;
  // Returns once every line logged before the call is in the file, published, and notified. Not
  // from the notifier.
  void Flush();

  // The published lines (each already in the file) not taken yet, oldest first.
  std::vector<std::pair<std::string, TColor>> TakePending();
  // Called on the writer thread after it has published lines, outside the log's lock. Setting
  // another notifier (or none) waits for a call under way to return, so the old one is never
  // called afterwards.
  void SetPendingNotifier(std::function<void()> notifier);

  // A line as the log stamps it: "hh:nn:ss:zzz : text".
  static std::string Stamped(TDateTime time, const std::string& text);

  // The name as created: relative to the directory that was current at creation.
  const std::string& FileName() const { return fileName_; }
  bool HasFile() const;

 private:
  struct Line {
    std::string Text;  // stamped, without the line end
    TColor Colour;
  };

  void WriterLoop();
  // Appends whole lines to the file; after a failed write it ends with its last whole line.
  void WriteLines(const std::vector<Line>& lines);
  // The line as the file holds it: its text and CRLF.
  static void AppendRecord(std::string& out, const Line& line);
  // Appends whole lines in one write; false (and the file cut back to its last whole line) when
  // the write failed.
  bool WriteRecord(const std::string& record);
  void Publish(std::vector<Line>& lines);

  const IClock& clock_;
  std::string fileName_;
  // Only the writer thread writes the file (and the destructor, after it has ended).
  std::FILE* file_ = nullptr;
  // Bytes of whole lines in the file.
  std::size_t written_ = 0;

  mutable std::mutex mutex_;
  std::condition_variable wake_;       // the writer: lines queued, or stopping
  std::condition_variable published_;  // Flush: lines published
  std::vector<Line> unwritten_;
  std::deque<std::pair<std::string, TColor>> pending_;
  std::uint64_t queuedCount_ = 0;
  std::uint64_t publishedCount_ = 0;
  bool stopping_ = false;

  // Held while the notifier runs and while it is replaced.
  std::mutex notifierMutex_;
  std::function<void()> notifier_;

  std::thread writer_;
};

}  // namespace kelpa
