// SPDX-License-Identifier: MIT
// A file the runner writes (--output, --timeline): the bytes go to a temporary file beside it,
// which replaces the file only once it is whole and on the disk, so a failure, a full disk or an
// interruption leaves the old file as it was. A device or pipe named (/dev/stdout) is written
// directly, as there is nothing to replace.
#pragma once

#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "platform/ini_temp_file.h"

namespace kelpa {

class OutputFile {
 public:
  explicit OutputFile(const std::string& target);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  bool IsOpen() const;
  std::ostream& Stream();
  // Where a writer that opens files by name (the PNG painter) writes the whole file; its bytes
  // count only if nothing went to Stream().
  std::string WritePath() const;
  // Puts the bytes in the target's place; false, and the target unchanged, when anything failed.
  bool Commit();

 private:
  std::string target_;  // with a symbolic link followed, so that the link stays
  std::unique_ptr<TIniTempFile> temp_;
  std::ofstream stream_;
};

// Whether the two names are one file: the same device and inode when both exist, otherwise the
// same path once made absolute with symbolic links followed.
bool SameFile(const std::string& a, const std::string& b);

}  // namespace kelpa
