// SPDX-License-Identifier: MIT
#include "platform/ini_temp_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <random>
#include <string_view>

namespace kelpa {
namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTempMark = ".tmp";
constexpr std::size_t kTempDigits = 12;
constexpr char kDigits[] = "0123456789abcdef";

std::string TempSuffix() {
  thread_local std::mt19937_64 generator{std::random_device{}()};
  std::uint64_t bits = generator();
  std::string suffix(kTempMark);
  for (std::size_t i = 0; i < kTempDigits; ++i, bits >>= 4) {
    suffix += kDigits[bits & 0xF];
  }
  return suffix;
}

bool IsTempName(std::string_view name, std::string_view target) {
  if (name.size() != target.size() + kTempMark.size() + kTempDigits || !name.starts_with(target) ||
      name.substr(target.size(), kTempMark.size()) != kTempMark) {
    return false;
  }
  return name.substr(target.size() + kTempMark.size()).find_first_not_of(kDigits) ==
         std::string_view::npos;
}

// Removes the file when no save holds it; a symbolic link or anything else is left alone.
void RemoveIfAbandoned(const fs::path& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    return;
  }
  struct stat status {};
  if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::fstat(fd, &status) == 0 && S_ISREG(status.st_mode)) {
    ::unlink(path.c_str());
  }
  ::close(fd);
}

}  // namespace

TIniTempFile::TIniTempFile(const fs::path& target) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    path_ = target;
    path_ += TempSuffix();
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd_ < 0) {
      if (errno == EEXIST) {
        continue;
      }
      return;
    }
    // A start-up clearing abandoned files may have taken the file between its creation and the
    // lock: then it is gone, and another name is tried.
    struct stat status {};
    if (::flock(fd_, LOCK_EX) == 0 && ::fstat(fd_, &status) == 0 && status.st_nlink > 0) {
      return;
    }
    ::close(fd_);
    fd_ = -1;
  }
}

TIniTempFile::~TIniTempFile() {
  if (fd_ < 0) {
    return;
  }
  if (!renamed_) {
    ::unlink(path_.c_str());
  }
  ::close(fd_);
}

bool TIniTempFile::Write(const std::string& bytes) {
  std::size_t done = 0;
  while (IsOpen() && done < bytes.size()) {
    const ssize_t count = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      return false;
    }
    done += static_cast<std::size_t>(count);
  }
  return IsOpen();
}

bool TIniTempFile::Sync() {
  return IsOpen() && ::fsync(fd_) == 0;
}

bool TIniTempFile::RenameOver(const fs::path& target) {
  renamed_ = IsOpen() && ::rename(path_.c_str(), target.c_str()) == 0;
  return renamed_;
}

void RemoveStaleTempFiles(const std::string& iniPath) {
  const fs::path ini(iniPath);
  const fs::path folder = ini.has_parent_path() ? ini.parent_path() : fs::path(".");
  const std::string target = ini.filename().string();
  std::error_code error;
  for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
    std::error_code statusError;
    if (IsTempName(it->path().filename().string(), target) &&
        it->symlink_status(statusError).type() == fs::file_type::regular) {
      RemoveIfAbandoned(it->path());
    }
  }
}

}  // namespace kelpa
