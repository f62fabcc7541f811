// SPDX-License-Identifier: MIT
#include "gui/common/qt_convert.h"

#include <QStringList>
#include <QTextDocument>

namespace kelpa {
namespace {

// Where the classic fonts are missing, the nearest free ones: Liberation Sans keeps the narrow
// metrics of the small window fonts, so captions fit the fixed layouts; DejaVu Sans is drawn from
// the family of the large credits font.
QStringList Substitutes(const QString& family) {
  if (family == QStringLiteral("Verdana")) {
    return {family, QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")};
  }
  return {family, QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans"),
          QStringLiteral("Sans Serif")};
}

QFont Fallback(const QString& family, bool bold) {
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  font.setFamilies(Substitutes(family));
  font.setBold(bold);
  return font;
}

}  // namespace

QFont ClassicFont(const QString& family, int pointSize, bool bold) {
  QFont font = Fallback(family, bold);
  font.setPointSize(pointSize);
  return font;
}

QFont ClassicPixelFont(const QString& family, int pixelSize, bool bold) {
  QFont font = Fallback(family, bold);
  font.setPixelSize(pixelSize);
  return font;
}

QString AsPlainText(const QString& text) {
  if (!Qt::mightBeRichText(text)) {
    return text;
  }
  return QStringLiteral("<p style=\"white-space:pre-wrap\">") + text.toHtmlEscaped() +
         QStringLiteral("</p>");
}

QString DialogTitle(const QString& menuCaption) {
  QString title;
  title.reserve(menuCaption.size());
  for (qsizetype i = 0; i < menuCaption.size(); ++i) {
    if (menuCaption[i] == QLatin1Char('&')) {
      ++i;
      if (i == menuCaption.size()) {
        break;
      }
    }
    title += menuCaption[i];
  }
  for (const QString& dots : {QStringLiteral("..."), QStringLiteral("\u2026")}) {
    if (title.endsWith(dots)) {
      title.chop(dots.size());
    }
  }
  return title.trimmed();
}

}  // namespace kelpa
