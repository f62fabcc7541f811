#include "app/desktop_folder.h"

#include <QDir>
#include <QStandardPaths>

#include "platform/error_reporter.h"

namespace kelpa {

QString DesktopFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) +
         QStringLiteral("/Kelpa");
}

bool EnterDesktopFolder(const QString& folder, IErrorReporter& reporter) {
  const QFileInfo info(folder);
  if (!QDir().mkpath(folder) || !info.isDir() || !QDir::setCurrent(folder)) {
    reporter.ShowError("Unable to work in the folder " + folder.toStdString() +
                       "; Kelpa keeps its files in " + QDir::currentPath().toStdString());
    return false;
  }
  return true;
}

}  // namespace kelpa
