// SPDX-License-Identifier: MIT
// The temporary file a save writes before renaming it over the file it replaces (the settings file,
// the runner's outputs): the file is whole or not there at all. The save holds it locked until the
// rename, so a start-up can tell the files of saves that were killed (no longer locked) from one
// that another running copy is writing, and remove only the former.
#pragma once

#include <filesystem>
#include <string>

namespace kelpa {

class TIniTempFile {
 public:
  // Creates and locks a new file next to target, named target + ".tmp" + 12 hexadecimal digits.
  explicit TIniTempFile(const std::filesystem::path& target);
  // Removes the file unless it was renamed, and releases it.
  ~TIniTempFile();
  TIniTempFile(const TIniTempFile&) = delete;
  TIniTempFile& operator=(const TIniTempFile&) = delete;

  bool IsOpen() const { return fd_ >= 0; }
  const std::filesystem::path& Path() const { return path_; }
  // Writes all of bytes; false when that failed.
  bool Write(const std::string& bytes);
  // Puts what was written to the file (through this object or by its path) on the disk.
  bool Sync();
  // Renames the file over target while still holding it.
  bool RenameOver(const std::filesystem::path& target);

 private:
  int fd_ = -1;
  std::filesystem::path path_;
  bool renamed_ = false;
};

// Removes what saves of iniPath that were killed left behind: regular files in its folder, named
// after it + ".tmp" + 12 hexadecimal digits, that no running save holds.
void RemoveStaleTempFiles(const std::string& iniPath);

}  // namespace kelpa
