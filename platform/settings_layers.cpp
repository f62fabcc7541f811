// SPDX-License-Identifier: MIT
#include "platform/settings_layers.h"

#include <cstdlib>
#include <filesystem>

#include "platform/ini_file.h"

namespace kelpa {
namespace {

namespace fs = std::filesystem;

bool IsFile(const std::string& path) {
  std::error_code error;
  return !path.empty() && fs::is_regular_file(path, error);
}

// "en" of "en_US.UTF-8"; empty for "C", "POSIX" and anything that names no language.
std::string LanguageOf(const std::string& locale) {
  std::string language;
  for (const char c : locale) {
    if (c < 'a' || c > 'z') {
      break;
    }
    language += c;
  }
  return language.size() == 2 || language.size() == 3 ? language : std::string();
}

// The program's shared data beside its binary, as installed: <prefix>/bin/kelpa and
// <prefix>/share/kelpa; empty when the binary cannot be found.
std::string SharedDataFolder() {
  std::error_code error;
  const fs::path program = fs::read_symlink("/proc/self/exe", error);
  return error ? std::string() : (program.parent_path().parent_path() / "share" / "kelpa").string();
}

}  // namespace

SettingsPlaces InstalledPlaces() {
  SettingsPlaces places{SharedDataFolder(), "/etc/kelpa/kelpa.ini", ""};
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const char* value = std::getenv(name); value != nullptr && *value != '\0') {
      places.Locale = value;
      break;
    }
  }
  return places;
}

std::vector<std::string> SettingsLayers(const SettingsPlaces& places, const std::string& userFile) {
  std::vector<std::string> layers;
  // Portuguese is built in; another language counts when its catalogue is shipped.
  if (const std::string language = LanguageOf(places.Locale);
      !language.empty() && language != "pt" && !places.LanguageFolder.empty()) {
    const std::string catalogue =
        (fs::path(places.LanguageFolder) / language / "kelpa.ini").string();
    if (IsFile(catalogue)) {
      layers.push_back(catalogue);
    }
  }
  for (const std::string& file : {places.SystemFile, userFile}) {
    if (IsFile(file)) {
      layers.push_back(file);
    }
  }
  return layers;
}

std::vector<std::string> KelpaIniLayers() {
  return SettingsLayers(InstalledPlaces(), KelpaIniPath());
}

std::vector<std::string> SettingsLayersBeneath() {
  return SettingsLayers(InstalledPlaces(), std::string());
}

std::optional<std::string> LayeredValue(const std::vector<std::string>& layers,
                                        const std::string& section, const std::string& key) {
  for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
    const TIniFile ini(*layer);
    if (ini.HasKey(section, key)) {
      return ini.ReadString(section, key, std::string());
    }
  }
  return std::nullopt;
}

}  // namespace kelpa
