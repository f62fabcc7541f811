// Where Kelpa works when started from the desktop menu. A menu starts programs in the home
// folder, where a log file per start would pile up; from the menu Kelpa works in a "Kelpa" folder
// of the user's documents instead. Started from a terminal it keeps the current folder.
#pragma once

#include <QString>

namespace kelpa {

class IErrorReporter;

// The folder a menu start works in: "Kelpa" in the user's documents folder.
QString DesktopFolder();

// Creates the folder if it is missing and makes it the current folder. When that fails, says why
// through reporter and leaves the current folder as it is; returns whether it moved.
bool EnterDesktopFolder(const QString& folder, IErrorReporter& reporter);

}  // namespace kelpa
