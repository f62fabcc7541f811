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
  if (file_ != nullptr) {
    std::fclose(file_);
  }
}

bool TLogWriter::HasFile() const {
  std::lock_guard lock(mutex_);
  return file_ != nullptr;
}

void TLogWriter::AddLine(const std::string& text, TColor colour) {
  std::function<void()> notify;
  {
    std::lock_guard lock(mutex_);
    // The stamp is taken under the lock so that times never go backwards down the file.
    // FormatSpan of a date-time prints its time of day as hh:nn:ss:zzz.
    std::string line = FormatSpan(clock_.Now()) + " : " + text;
    if (file_ != nullptr) {
      WriteRecord(line + "\r\n");
    }
    pending_.emplace_back(std::move(line), colour);
    if (pending_.size() > kMaxPending) {
      pending_.pop_front();
    }
    notify = notifier_;
  }
  if (notify) {
    notify();
  }
}

void TLogWriter::WriteRecord(const std::string& record) {
  if (std::fwrite(record.data(), 1, record.size(), file_) == record.size()) {
    written_ += record.size();
    return;
  }
  // A failed write (a full disk, say) is not reported and stops nothing, but it may have left
  // part of the line in the file: cut the file back to its last whole line, so that the lines
  // written once there is room again start on lines of their own.
  std::clearerr(file_);
  std::error_code error;
  std::filesystem::resize_file(fullPath_, written_, error);
  std::fseek(file_, static_cast<long>(written_), SEEK_SET);
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
