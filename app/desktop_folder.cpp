// SPDX-License-Identifier: MIT
#include "app/desktop_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "catalogue/fill_in.h"
#include "catalogue/messages.h"
#include "platform/ini_file.h"
#include "platform/settings_layers.h"

namespace kelpa {

QString DesktopFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
         QStringLiteral("/Kelpa");
}

std::optional<std::string> EnterDesktopFolder(const QString& folder) {
  if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir() || !QDir::setCurrent(folder)) {
    // Shown before the catalogue is loaded: its text comes from the settings file of the folder
    // Kelpa stays in, the one whose catalogue the windows will then load.
    TMessages texts;
    CarregaMensagens(texts, KelpaIniLayers());
    return FillIn(texts.MsgPastaRecusada,
                  {folder.toStdString(), QDir::currentPath().toStdString()});
  }
  return std::nullopt;
}

}  // namespace kelpa
