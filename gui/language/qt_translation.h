// SPDX-License-Identifier: MIT
// Qt's own texts (the standard buttons of message and input boxes, the colour dialog) in the
// language of the interface: Brazilian Portuguese, unless the settings file names another.
#pragma once

#include <QString>
#include <string>
#include <vector>

class QTranslator;

namespace kelpa {

// The language Qt's texts should be in: the value of key LANGUAGE in section MSG of the settings
// layers (the last that gives it: "en", "es", "pt_BR"...), or "pt_BR" when none gives a language
// name.
QString InterfaceLanguage(const std::vector<std::string>& layers);

// Installs Qt's translation "qtbase_<language>" from the folder on the application, which owns
// it. Returns it, or null when the folder has no such file: Qt then speaks its built-in English.
QTranslator* InstallQtTranslation(const std::vector<std::string>& layers, const QString& folder);
// The same for the program's settings file, from the folder where Qt keeps its translations.
QTranslator* InstallQtTranslation();

}  // namespace kelpa
