// SPDX-License-Identifier: MIT
// Any bytes as kelpa.ini: reading, writing the scheduling keys and reading them back must neither
// crash nor lose what was written, every value stays within its length limit, and a UTF-16 file
// is neither read nor replaced.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_file.h"
#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using kelpa::TIniFile;
  TIniFile ini(kelpa::fuzz::WriteInput(data, size));
  // A UTF-16 file is read as nothing, and never replaced.
  const bool utf16 =
      size >= 2 && ((data[0] == 0xFF && data[1] == 0xFE) || (data[0] == 0xFE && data[1] == 0xFF));
  if (utf16 &&
      (ini.Problem() != kelpa::TIniProblem::Utf16 || !ini.Bytes().empty() || ini.UpdateFile())) {
    std::abort();
  }
  // Names taken from the input itself reach the sections and keys it holds.
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string section = text.substr(0, std::min<std::size_t>(size, 8));
  const std::string key = text.substr(size / 2, 8);
  for (const auto& [s, k] :
       {std::pair{section, key}, std::pair{std::string("GLOBAL"), std::string("TEMPO_REAL")}}) {
    if (ini.ReadString(s, k, "").size() > 4 * TIniFile::kMaxValueLength) {
      std::abort();
    }
    ini.ReadInteger(s, k, 8);
    ini.ReadBool(s, k, true);
  }
  ini.WriteInteger("GLOBAL", "PREEMPCAO", 0);
  ini.WriteString(section, "KEY", key);
  if (ini.ReadInteger("GLOBAL", "PREEMPCAO", 1) != 0) {
    std::abort();
  }
  return 0;
}
