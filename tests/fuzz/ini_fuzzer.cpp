// Any bytes as kelpa.ini: reading, writing the scheduling keys and reading them back must neither
// crash nor lose what was written, and every value stays within its length limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "console/ini_file.h"
#include "fuzz_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using kelpa::TIniFile;
  TIniFile ini(kelpa::fuzz::WriteInput(data, size));
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
