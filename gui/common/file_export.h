// SPDX-License-Identifier: MIT
// Saving something a window shows into a file the user picks: the file is written whole or not
// at all (a failed write leaves what was there), and a failure is told in a message box.
#pragma once

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace kelpa {

// Writes text to file whole, or leaves what was there: false when it could not.
bool WriteWholeFile(const QString& file, const std::string& text);

struct FileExport {
  // Replace the file dialog and the message box (tests); empty means the real ones.
  std::function<QString(const QString& filter)> ChooseFile;
  std::function<void(const QString& text)> ShowError;

  // The file the user picks, with suffix added when the name has none; empty when cancelled.
  QString Choose(QWidget* parent, const QString& filter, const QString& suffix) const;
  // Writes text to file; on failure shows failure followed by the file name.
  bool Write(QWidget* parent, const QString& file, const std::string& text,
             const QString& failure) const;
  void Fail(QWidget* parent, const QString& text) const;
};

}  // namespace kelpa
