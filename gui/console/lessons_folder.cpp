// SPDX-License-Identifier: MIT
#include "gui/console/lessons_folder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>

namespace kelpa {

QString InstalledLessonsFolder() {
  const QDir besideProgram(QCoreApplication::applicationDirPath() +
                           QStringLiteral("/../share/kelpa/scenarios"));
  if (besideProgram.exists()) {
    return besideProgram.canonicalPath();
  }
  return QStandardPaths::locate(QStandardPaths::GenericDataLocation,
                                QStringLiteral("kelpa/scenarios"), QStandardPaths::LocateDirectory);
}

QString OpenDialogStartFolder(const QString& working, const QString& settingsFile,
                              const QString& lessons) {
  const QString settingsName = QFileInfo(settingsFile).fileName();
  const QStringList scenarios =
      QDir(working).entryList({QStringLiteral("*.ini")}, QDir::Files | QDir::Readable);
  const bool ownScenario = std::any_of(
      scenarios.begin(), scenarios.end(),
      [&](const QString& name) { return name.compare(settingsName, Qt::CaseInsensitive) != 0; });
  return ownScenario || lessons.isEmpty() ? working : lessons;
}

}  // namespace kelpa
