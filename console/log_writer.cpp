#include "console/log_writer.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "core/datetime.h"

namespace kelpa {
namespace {

// Copies of the program started in one folder within one minute, each with a log of its own.
constexpr int kMaxLogsPerMinute = 100;

// Opens the log file named base + ".txt", emptied; while another running copy holds that file,
// base + "-2.txt", "-3.txt"... instead, so one copy never damages another's log. The file is held
// locked until it is closed, and emptied only once the lock is held. -1 when the file cannot be
// opened; name is then the name that failed.
int OpenOwnLogFile(const std::string& base, std::string& name) {
  for (int copy = 1; copy <= kMaxLogsPerMinute; ++copy) {
    name = base;
    if (copy > 1) {
      name.append("-").append(std::to_string(copy));
    }
    name.append(".txt");
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0666);
    if (fd < 0) {
      return -1;
    }
    // Where locks are not supported the file is used without one.
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0 || errno != EWOULDBLOCK) {
      if (::ftruncate(fd, 0) == 0) {
        return fd;
      }
      ::close(fd);
      return -1;
    }
    ::close(fd);
  }
  return -1;
}

}  // namespace

TLogWriter::TLogWriter(const IClock& clock, IErrorReporter* reporter) : clock_(clock) {
  const int fd = OpenOwnLogFile("log" + FormatMonthDayHourMinute(clock.Now()), fileName_);
  std::error_code error;
  const auto absolute = std::filesystem::absolute(fileName_, error);
  const std::string fullPath = error ? fileName_ : absolute.string();
  // Binary mode: the line ends are written exactly as CRLF.
  file_ = fd < 0 ? nullptr : ::fdopen(fd, "wb");
  if (file_ == nullptr) {
    if (fd >= 0) {
      ::close(fd);
    }
    if (reporter != nullptr) {
      reporter->ShowError("Unable to create " + fullPath);
    }
    return;
  }
  // Unbuffered: each line goes out in one write of its own, so a failed write never leaves part
  // of a line waiting in a buffer to be written later.
  std::setvbuf(file_, nullptr, _IONBF, 0);
}

TLogWriter::~TLogWriter() {
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  if (writer_.joinable()) {
    writer_.join();
  }
  WriteQueued();
  if (file_ != nullptr) {
    std::fclose(file_);
  }
}

void TLogWriter::WriteOtherThreadsInBackground() {
  std::lock_guard lock(mutex_);
  if (background_ || file_ == nullptr) {
    return;
  }
  background_ = true;
  direct_ = std::this_thread::get_id();
  writer_ = std::thread([this] { WriterLoop(); });
}

void TLogWriter::WriterLoop() {
  std::unique_lock lock(mutex_);
  for (;;) {
    writerWaiting_ = true;
    wake_.wait(lock, [this] { return stopping_ || !unwritten_.empty(); });
    writerWaiting_ = false;
    if (unwritten_.empty()) {
      return;  // stopping, and everything is written
    }
    lock.unlock();
    WriteQueued();
    lock.lock();
  }
}

void TLogWriter::Flush() {
  WriteQueued();
}

bool TLogWriter::HasFile() const {
  std::lock_guard lock(mutex_);
  return file_ != nullptr;
}

void TLogWriter::AddLine(const std::string& text, TColor colour) {
  std::function<void()> notify;
  bool writeNow = false;
  bool wakeWriter = false;
  {
    std::lock_guard lock(mutex_);
    // The stamp is taken under the lock so that times never go backwards down the file.
    // FormatSpan of a date-time prints its time of day as hh:nn:ss:zzz.
    std::string line = FormatSpan(clock_.Now()) + " : " + text;
    if (file_ != nullptr) {
      writeNow = !background_ || std::this_thread::get_id() == direct_;
      // A writer that is waiting has nothing queued; one that is busy takes this line with the
      // rest when it is done, so only the first line after a quiet spell needs to wake it.
      wakeWriter = !writeNow && writerWaiting_ && unwritten_.empty();
      unwritten_.push_back(line + "\r\n");
    }
    pending_.emplace_back(std::move(line), colour);
    if (pending_.size() > kMaxPending) {
      pending_.pop_front();
    }
    notify = notifier_;
  }
  if (writeNow) {
    WriteQueued();
  }
  if (wakeWriter) {
    wake_.notify_one();
  }
  if (notify) {
    notify();
  }
}

void TLogWriter::WriteQueued() {
  // Whoever holds the file takes every line queued so far, so batches reach the file in the
  // order they were taken, which is the order the lines were stamped.
  std::lock_guard file(fileMutex_);
  std::vector<std::string> records;
  {
    std::lock_guard lock(mutex_);
    records.swap(unwritten_);
  }
  if (!records.empty()) {
    WriteRecords(records);
  }
}

void TLogWriter::WriteRecords(const std::vector<std::string>& records) {
  if (records.size() == 1) {
    WriteRecord(records.front());
    return;
  }
  // One write for the lot; if it fails, line by line, so every line that still fits is kept.
  std::string batch;
  for (const std::string& record : records) {
    batch += record;
  }
  if (WriteRecord(batch)) {
    return;
  }
  for (const std::string& record : records) {
    WriteRecord(record);
  }
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
  std::lock_guard lock(mutex_);
  notifier_ = std::move(notifier);
}

}  // namespace kelpa
