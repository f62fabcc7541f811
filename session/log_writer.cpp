// SPDX-License-Identifier: MIT
#include "session/log_writer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "catalogue/fill_in.h"
#include "catalogue/messages.h"
#include "platform/datetime.h"
#include "platform/ini_file.h"
#include "platform/settings_layers.h"

namespace kelpa {
namespace {

// Starts of the program in one folder within one minute, each with a log of its own.
constexpr int kMaxLogsPerMinute = 100;

// Creates the log file base + ".txt"; when a file of that name is there already (the log of an
// earlier run, or of a copy still running, started in the same minute), base + "-2.txt",
// "-3.txt"... instead, the first name that is free: a start never empties a log. The name is
// created, never opened, so what is opened is always a new regular file; a name taken by anything
// but a regular file (a folder, a pipe, a link) is no log, and is reported rather than passed by.
// -1 when the file cannot be created; name is then the name that failed.
int CreateOwnLogFile(const std::string& base, std::string& name) {
  for (int copy = 1; copy <= kMaxLogsPerMinute; ++copy) {
    name = base;
    if (copy > 1) {
      name.append("-").append(std::to_string(copy));
    }
    name.append(".txt");
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      return fd;
    }
    struct stat status {};
    if (errno != EEXIST || ::lstat(name.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
      return -1;
    }
  }
  return -1;
}

}  // namespace

std::string TLogWriter::Stamped(TDateTime time, const std::string& text) {
  return FormatSpan(time) + " : " + text;
}

TLogWriter::TLogWriter(const IClock& clock, IErrorReporter* reporter) : clock_(clock) {
  const int fd = CreateOwnLogFile("log" + FormatMonthDayHourMinute(clock.Now()), fileName_);
  // Binary mode: the line ends are written exactly as CRLF.
  file_ = fd < 0 ? nullptr : ::fdopen(fd, "wb");
  if (file_ == nullptr) {
    if (fd >= 0) {
      ::close(fd);
    }
    if (reporter != nullptr) {
      std::error_code error;
      const auto absolute = std::filesystem::absolute(fileName_, error);
      // The log comes before the catalogue: the message reads its text from the settings file
      // on its own (the built-in one when the file has none or cannot be read).
      TMessages texts;
      CarregaMensagens(texts, KelpaIniLayers());
      reporter->ShowError(FillIn(texts.MsgLogNaoCriado, {error ? fileName_ : absolute.string()}));
    }
  } else {
    // Unbuffered: each batch goes out in one write of its own, so a failed write never leaves
    // part of a line waiting in a buffer to be written later.
    std::setvbuf(file_, nullptr, _IONBF, 0);
  }
  writer_ = std::thread([this] { WriterLoop(); });
}

TLogWriter::~TLogWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  writer_.join();
  if (file_ != nullptr) {
    std::fclose(file_);
  }
}

void TLogWriter::AddLine(const std::string& text, TColor colour) {
  bool wakeWriter = false;
  {
    std::lock_guard lock(mutex_);
    // The stamp is taken under the lock so that times never go backwards down the file.
    // FormatSpan of a date-time prints its time of day as hh:nn:ss:zzz.
    // A busy writer takes this line with the rest when it is done, so only the first line after
    // a quiet spell needs to wake it.
    wakeWriter = unwritten_.empty();
    unwritten_.push_back({Stamped(clock_.Now(), text), colour});
    ++queuedCount_;
  }
  if (wakeWriter) {
    wake_.notify_one();
  }
}

void TLogWriter::WriterLoop() {
  std::vector<Line> lines;
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !unwritten_.empty(); });
    if (unwritten_.empty()) {
      return;  // stopping, and everything is written
    }
    lines.clear();
    lines.swap(unwritten_);
    lock.unlock();
    WriteLines(lines);
    Publish(lines);
    lock.lock();
  }
}

void TLogWriter::Publish(std::vector<Line>& lines) {
  {
    std::lock_guard lock(mutex_);
    for (Line& line : lines) {
      pending_.emplace_back(std::move(line.Text), line.Colour);
    }
    while (pending_.size() > kMaxPending) {
      pending_.pop_front();
    }
  }
  {
    std::lock_guard notifying(notifierMutex_);
    if (notifier_) {
      notifier_();
    }
  }
  // Counted only once the subscriber has been told, so Flush also waits for the notification.
  {
    std::lock_guard lock(mutex_);
    publishedCount_ += lines.size();
  }
  published_.notify_all();
}

void TLogWriter::Flush() {
  std::unique_lock lock(mutex_);
  const std::uint64_t target = queuedCount_;
  published_.wait(lock, [&] { return publishedCount_ >= target; });
}

bool TLogWriter::HasFile() const {
  return file_ != nullptr;
}

void TLogWriter::WriteLines(const std::vector<Line>& lines) {
  if (file_ == nullptr) {
    return;
  }
  // One write for the lot; if it fails, line by line, so every line that still fits is kept.
  std::string batch;
  for (const Line& line : lines) {
    AppendRecord(batch, line);
  }
  if (WriteRecord(batch) || lines.size() == 1) {
    return;
  }
  for (const Line& line : lines) {
    std::string record;
    AppendRecord(record, line);
    WriteRecord(record);
  }
}

void TLogWriter::AppendRecord(std::string& out, const Line& line) {
  out.append(line.Text);
  out.append("\r\n", 2);
}

bool TLogWriter::WriteRecord(const std::string& record) {
  if (std::fwrite(record.data(), 1, record.size(), file_) == record.size()) {
    written_ += record.size();
    return true;
  }
  // A failed write (a full disk, say) is not reported and stops nothing, but it may have left
  // part of the line in the file: cut the file back to its last whole line, so that the lines
  // written once there is room again start on lines of their own.
  // The open file is cut, not the path: the file may have been renamed, and another file may
  // now have its name.
  std::clearerr(file_);
  [[maybe_unused]] const int cut = ::ftruncate(::fileno(file_), static_cast<off_t>(written_));
  std::fseek(file_, static_cast<long>(written_), SEEK_SET);
  return false;
}

std::vector<std::pair<std::string, TColor>> TLogWriter::TakePending() {
  std::lock_guard lock(mutex_);
  std::vector<std::pair<std::string, TColor>> lines(std::make_move_iterator(pending_.begin()),
                                                    std::make_move_iterator(pending_.end()));
  pending_.clear();
  return lines;
}

void TLogWriter::SetPendingNotifier(std::function<void()> notifier) {
  std::lock_guard notifying(notifierMutex_);
  notifier_ = std::move(notifier);
}

}  // namespace kelpa
