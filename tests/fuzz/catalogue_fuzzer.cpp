// SPDX-License-Identifier: MIT
// Any bytes as kelpa.ini: loading the whole message catalogue must not crash or hang, and no text
// grows past the reader's limit.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "catalogue/messages.h"
#include "fuzz_file.h"
#include "platform/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelpa::TMessages messages;
  kelpa::CarregaMensagens(messages, kelpa::fuzz::WriteInput(data, size));
  for (const auto& entry : kelpa::MessageEntries()) {
    // Windows-1252 text can take up to three bytes per character once in UTF-8.
    if ((messages.*entry.Field).size() > 3 * kelpa::TIniFile::kMaxValueLength) {
      std::abort();
    }
  }
  return 0;
}
