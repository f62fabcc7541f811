// SPDX-License-Identifier: MIT
// Qt's own texts (the standard buttons of message and input boxes, the colour dialog) in the
// language of the interface: Brazilian Portuguese, unless the settings file names another.
#pragma once

#include <QString>
#include <string>

class QTranslator;

namespace kelpa {

// The language Qt's texts should be in: the value of key LANGUAGE in section MSG of the settings
// file ("en", "es", "pt_BR"...), or "pt_BR" when the key is absent or not a language name.
QString InterfaceLanguage(const std::string& iniPath);

// Installs Qt's translation "qtbase_<language>" from the folder on the application, which owns
// it. Returns it, or null when the folder has no such file: Qt then speaks its built-in English.
QTranslator* InstallQtTranslation(const std::string& iniPath, const QString& folder);
// The same for the program's settings file, from the folder where Qt keeps its translations.
QTranslator* InstallQtTranslation();

}  // namespace kelpa
