// SPDX-License-Identifier: MIT
#include "gui/language/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QTranslator>

#include "gui/common/qt_convert.h"
#include "platform/settings_layers.h"

namespace kelpa {
namespace {

const QString kDefaultLanguage = QStringLiteral("pt_BR");

// Only a language name may become part of a file name: "en", "pt_BR", "zh_Hant_TW".
bool IsLanguageName(const QString& name) {
  static const QRegularExpression pattern(QStringLiteral("^[a-z]{2,3}(_[A-Za-z]{2,4}){0,2}$"));
  return pattern.match(name).hasMatch();
}

}  // namespace

QString InterfaceLanguage(const std::vector<std::string>& layers) {
  const QString name = ToQString(LayeredValue(layers, "MSG", "LANGUAGE").value_or(std::string()));
  return IsLanguageName(name) ? name : kDefaultLanguage;
}

QTranslator* InstallQtTranslation(const std::vector<std::string>& layers, const QString& folder) {
  auto* translator = new QTranslator(QCoreApplication::instance());
  if (!translator->load(QStringLiteral("qtbase_") + InterfaceLanguage(layers), folder) ||
      !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return nullptr;
  }
  return translator;
}

QTranslator* InstallQtTranslation() {
  return InstallQtTranslation(KelpaIniLayers(), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

}  // namespace kelpa
