// SPDX-License-Identifier: MIT
// Where "Abrir cenário..." looks: the lessons the package installs, beside the working folder.
#pragma once

#include <QString>

namespace kelpa {

// The lessons installed with the program: PREFIX/share/kelpa/scenarios beside PREFIX/bin/kelpa,
// else kelpa/scenarios in one of the desktop's data folders (XDG_DATA_DIRS); empty when none.
QString InstalledLessonsFolder();

// The folder the open dialog starts in: the working folder while it holds a scenario of the
// user's (an .ini file other than the settings file, settingsFile), else the installed lessons,
// so that a first start finds something to open; the working folder when there are none.
QString OpenDialogStartFolder(const QString& working, const QString& settingsFile,
                              const QString& lessons);

}  // namespace kelpa
