// SPDX-License-Identifier: MIT
// Where Kelpa works when started from the desktop menu. A menu starts programs in the home
// folder, where a log file per start would pile up; from the menu Kelpa works in a "Kelpa" folder
// of the user's documents instead. Started from a terminal it keeps the current folder.
#pragma once

#include <QString>
#include <optional>
#include <string>

namespace kelpa {

// The folder a menu start works in: "Kelpa" in the user's documents folder.
QString DesktopFolder();

// Creates the folder if it is missing and makes it the current folder. When that fails, leaves
// the current folder as it is and returns why, for the user, in the words of the current folder's
// kelpa.ini (or the built-in ones). Needs no application object, so it
// can run before anything reads the current folder.
std::optional<std::string> EnterDesktopFolder(const QString& folder);

}  // namespace kelpa
