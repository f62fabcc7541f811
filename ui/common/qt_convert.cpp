#include "ui/common/qt_convert.h"

namespace kelpa {
namespace {

QFont Fallback(const QString& family, bool bold) {
  QFont font(family);
  font.setStyleHint(QFont::SansSerif);
  font.setFamilies({family, QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
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

}  // namespace kelpa
