#include "console/log_writer.h"

#include <filesystem>

#include "core/datetime.h"

namespace kelpa {

TLogWriter::TLogWriter(const IClock& clock, IErrorReporter* reporter)
    : clock_(clock), fileName_("log" + FormatMonthDayHourMinute(clock.Now()) + ".txt") {
  // Binary mode: the line ends are written exactly as CRLF.
  file_ = std::fopen(fileName_.c_str(), "wb");
  if (file_ == nullptr && reporter != nullptr) {
    std::error_code error;
    const auto fullPath = std::filesystem::absolute(fileName_, error);
    reporter->ShowError("Unable to create " + (error ? fileName_ : fullPath.string()));
  }
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
      // A failed write is ignored: logging must never stop the simulation.
      const std::string record = line + "\r\n";
      std::fwrite(record.data(), 1, record.size(), file_);
      std::fflush(file_);
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
