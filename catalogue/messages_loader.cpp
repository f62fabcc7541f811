// SPDX-License-Identifier: MIT
#include "catalogue/messages.h"
#include "platform/ini_file.h"

namespace kelpa {

void CarregaMensagens(TMessages& messages, const std::string& iniPath) {
  const TMessages defaults;
  const TIniFile ini(iniPath);
  for (const TMessageEntry& entry : MessageEntries()) {
    messages.*entry.Field = ini.ReadString(entry.Section, entry.Key, defaults.*entry.Field);
  }
}

}  // namespace kelpa
