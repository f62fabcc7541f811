// SPDX-License-Identifier: MIT
// Writes a fuzz input to a kelpa.ini of a private folder, so the readers see it as a real file.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>

namespace kelpa::fuzz {

inline std::string WriteInput(const std::uint8_t* data, std::size_t size) {
  // A memory-backed folder when there is one: a disk write per input would slow fuzzing tenfold.
  static const std::filesystem::path base = std::filesystem::is_directory("/dev/shm")
                                                ? std::filesystem::path("/dev/shm")
                                                : std::filesystem::temp_directory_path();
  static const std::filesystem::path folder = base / ("kelpa-fuzz-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "kelpa.ini").string();
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  return path;
}

}  // namespace kelpa::fuzz
