// SPDX-License-Identifier: MIT
#include "app/desktop_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace kelpa {

QString DesktopFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
         QStringLiteral("/Kelpa");
}

std::optional<std::string> EnterDesktopFolder(const QString& folder) {
  if (!QDir().mkpath(folder) || !QFileInfo(folder).isDir() || !QDir::setCurrent(folder)) {
    return "Unable to work in the folder " + folder.toStdString() + "; Kelpa keeps its files in " +
           QDir::currentPath().toStdString();
  }
  return std::nullopt;
}

}  // namespace kelpa
