#include "console/log_writer.h"

#include <filesystem>

#include "core/datetime.h"

namespace kelpa {

TLogWriter::TLogWriter(const IClock& clock, IErrorReporter* reporter)
    : clock_(clock), fileName_("log" + FormatMonthDayHourMinute(clock.Now()) + ".txt") {
  std::error_code error;
  const auto fullPath = std::filesystem::absolute(fileName_, error);
  fullPath_ = error ? fileName_ : fullPath.string();
  // Binary mode: the line ends are written exactly as CRLF.
  file_ = std::fopen(fileName_.c_str(), "wb");
  if (file_ == nullptr) {
    if (reporter != nullptr) {
      reporter->ShowError("Unable to create " + fullPath_);
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
  std::clearerr(file_);
  std::error_code error;
  std::filesystem::resize_file(fullPath_, written_, error);
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
