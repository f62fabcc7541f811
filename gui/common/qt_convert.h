// SPDX-License-Identifier: MIT
// Conversions between the simulation's values and Qt's, and the classic fonts of the windows.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>
#include <string>

#include "simulation/colour.h"

namespace kelpa {

inline QString ToQString(const std::string& utf8) {
  return QString::fromStdString(utf8);
}
inline std::string ToStdString(const QString& text) {
  return text.toStdString();
}

inline QColor ToQColor(TColor colour) {
  return QColor(RedOf(colour), GreenOf(colour), BlueOf(colour));
}
inline TColor FromQColor(const QColor& colour) {
  return MakeColor(colour.red(), colour.green(), colour.blue());
}

// A text for a place where Qt guesses whether a text is rich text (hints, message boxes, dialog
// prompts): one that looks like markup is escaped, so it shows as the characters it is and can
// neither draw anything nor load a file it names.
QString AsPlainText(const QString& text);
// A menu item's caption as the title of the dialog it opens: without the & that marks its Alt
// letter ("&&" stands for "&") and without the closing "..." that says a dialog follows.
QString DialogTitle(const QString& menuCaption);

// A font of the given family; when the machine lacks it ("MS Sans Serif", "Small Fonts",
// "Verdana"), the nearest sans-serif of the same size.
QFont ClassicFont(const QString& family, int pointSize, bool bold = false);
// The same, sized in pixels.
QFont ClassicPixelFont(const QString& family, int pixelSize, bool bold = false);

}  // namespace kelpa
