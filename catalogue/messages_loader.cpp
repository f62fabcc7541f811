// SPDX-License-Identifier: MIT
#include "catalogue/messages.h"
#include "platform/ini_file.h"

#include <vector>

namespace kelpa {

void CarregaMensagens(TMessages& messages, const std::string& iniPath) {
  CarregaMensagens(messages, std::vector<std::string>{iniPath});
}

void CarregaMensagens(TMessages& messages, const std::vector<std::string>& layers) {
  const TMessages defaults;
  std::vector<TIniFile> files;
  files.reserve(layers.size());
  for (const std::string& layer : layers) {
    files.emplace_back(layer);
  }
  for (const TMessageEntry& entry : MessageEntries()) {
    std::string text = defaults.*entry.Field;
    for (const TIniFile& file : files) {
      if (file.HasKey(entry.Section, entry.Key)) {
        text = file.ReadString(entry.Section, entry.Key, text);
      }
    }
    messages.*entry.Field = std::move(text);
  }
}

}  // namespace kelpa
