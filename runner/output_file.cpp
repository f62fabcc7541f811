// SPDX-License-Identifier: MIT
#include "runner/output_file.h"

#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include "runner/interrupt_cleanup.h"

namespace kelpa {
namespace {

namespace fs = std::filesystem;

std::string Resolved(const std::string& file) {
  std::error_code error;
  const fs::path real = fs::weakly_canonical(file, error);
  return error ? file : real.string();
}

}  // namespace

OutputFile::OutputFile(const std::string& target) : target_(target) {
  std::error_code error;
  const fs::file_status status = fs::status(target_, error);
  if (fs::exists(status) && !fs::is_regular_file(status)) {
    stream_.open(target_, std::ios::binary);
    return;
  }
  target_ = Resolved(target);
  // What runs killed before their rename left beside it.
  RemoveStaleTempFiles(target_);
  temp_ = std::make_unique<TIniTempFile>(target_);
  if (!temp_->IsOpen()) {
    return;
  }
  SetInterruptedTempFile(temp_->Path().string());
  if (fs::is_regular_file(status)) {
    fs::permissions(temp_->Path(), fs::status(target_, error).permissions(), error);
  }
}

OutputFile::~OutputFile() {
  if (temp_) {
    stream_.close();
    temp_.reset();  // removes the file unless it was renamed
    ClearInterruptedTempFile();
  }
}

bool OutputFile::IsOpen() const {
  return temp_ ? temp_->IsOpen() : stream_.is_open();
}

std::ostream& OutputFile::Stream() {
  if (temp_ && !stream_.is_open()) {
    stream_.open(temp_->Path(), std::ios::binary);
  }
  return stream_;
}

std::string OutputFile::WritePath() const {
  return temp_ ? temp_->Path().string() : target_;
}

bool OutputFile::Commit() {
  if (stream_.is_open()) {
    stream_.close();
  }
  const bool written = !stream_.fail();
  if (!temp_) {
    return written;
  }
  const bool renamed = written && temp_->Sync() && temp_->RenameOver(target_);
  if (renamed) {
    ClearInterruptedTempFile();
  }
  return renamed;
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat first {};
  struct stat second {};
  if (::stat(a.c_str(), &first) == 0 && ::stat(b.c_str(), &second) == 0) {
    return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
  }
  std::error_code error;
  return fs::weakly_canonical(fs::absolute(a, error), error) ==
         fs::weakly_canonical(fs::absolute(b, error), error);
}

}  // namespace kelpa
