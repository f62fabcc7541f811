// SPDX-License-Identifier: MIT
#include "gui/common/file_export.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QSaveFile>
#include <QWidget>

namespace kelpa {

QString FileExport::Choose(QWidget* parent, const QString& filter, const QString& suffix) const {
  QString file =
      ChooseFile ? ChooseFile(filter)
                 : QFileDialog::getSaveFileName(parent, parent->windowTitle(), QString(), filter);
  if (!file.isEmpty() && QFileInfo(file).suffix().isEmpty()) {
    file += "." + suffix;
  }
  return file;
}

bool WriteWholeFile(const QString& file, const std::string& text) {
  QSaveFile out(file);
  return out.open(QIODevice::WriteOnly) &&
         out.write(text.data(), static_cast<qint64>(text.size())) ==
             static_cast<qint64>(text.size()) &&
         out.commit();
}

bool FileExport::Write(QWidget* parent, const QString& file, const std::string& text,
                       const QString& failure) const {
  const bool written = WriteWholeFile(file, text);
  if (!written) {
    Fail(parent, failure + "\n" + file);
  }
  return written;
}

void FileExport::Fail(QWidget* parent, const QString& text) const {
  if (ShowError) {
    ShowError(text);
  } else {
    QMessageBox::warning(parent, parent->windowTitle(), text);
  }
}

}  // namespace kelpa
