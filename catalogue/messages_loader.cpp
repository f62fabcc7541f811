#include "console/ini_file.h"
#include "i18n/messages.h"

namespace kelpa {

void CarregaMensagens(TMessages& messages, const std::string& iniPath) {
  const TMessages defaults;
  const TIniFile ini(iniPath);
  for (const TMessageEntry& entry : MessageEntries()) {
    messages.*entry.Field = ini.ReadString(entry.Section, entry.Key, defaults.*entry.Field);
  }
}

}  // namespace kelpa
