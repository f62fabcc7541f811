// SPDX-License-Identifier: MIT
// Where settings and texts come from, besides the user's kelpa.ini: the catalogue shipped for the
// desktop's language and the lab's system-wide defaults. Each is read as a layer under the
// user's file, which wins where it gives a key; only the user's file is ever written.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelpa {

struct SettingsPlaces {
  // The shipped catalogues, one per language: <folder>/<language>/kelpa.ini ("en").
  std::string LanguageFolder;
  // The lab's defaults for every user (/etc/kelpa/kelpa.ini when installed).
  std::string SystemFile;
  // The desktop's language, as the locale variables give it ("en_US.UTF-8", "pt_BR", "C").
  std::string Locale;
};

// The installed places and the locale of the environment (LC_ALL, then LC_MESSAGES, then LANG:
// the first that is set and not empty).
SettingsPlaces InstalledPlaces();

// The files to read, lowest precedence first: the shipped catalogue of the locale's language
// (none for Portuguese, whose texts are built in), the system file, then userFile. Files that
// are not there are left out, userFile included.
std::vector<std::string> SettingsLayers(const SettingsPlaces& places, const std::string& userFile);

// The layers of kelpa.ini in the working folder, as installed; and those beneath it.
std::vector<std::string> KelpaIniLayers();
std::vector<std::string> SettingsLayersBeneath();

// The value of section/key in the layer of highest precedence that gives it.
std::optional<std::string> LayeredValue(const std::vector<std::string>& layers,
                                        const std::string& section, const std::string& key);

}  // namespace kelpa
