// SPDX-License-Identifier: MIT
#include "gui/common/app_look.h"

#include <QApplication>
#include <QStyle>
#include <QStyleFactory>
#include <memory>

namespace kelpa {
namespace {

const QString kFusion = QStringLiteral("Fusion");

struct DesktopLook {
  QString Style;
  QPalette Palette;
};

// The style and palette Qt started with, noted before any look replaced them.
const DesktopLook& Desktop() {
  static const DesktopLook desktop{QApplication::style()->name(), QApplication::palette()};
  return desktop;
}

QPalette FusionLightPalette() {
  const std::unique_ptr<QStyle> fusion(QStyleFactory::create(kFusion));
  return fusion->standardPalette();
}

void SetStyleNamed(const QString& name) {
  // A new style object re-polishes every window: only when it is another style.
  if (QApplication::style()->name().compare(name, Qt::CaseInsensitive) != 0) {
    QApplication::setStyle(name);
  }
}

}  // namespace

QPalette DarkPalette() {
  QPalette dark;
  const QColor window(45, 45, 48);
  const QColor base(30, 30, 32);
  const QColor text(230, 230, 230);
  const QColor disabled(140, 140, 140);
  dark.setColor(QPalette::Window, window);
  dark.setColor(QPalette::WindowText, text);
  dark.setColor(QPalette::Base, base);
  dark.setColor(QPalette::AlternateBase, window);
  dark.setColor(QPalette::ToolTipBase, base);
  dark.setColor(QPalette::ToolTipText, text);
  dark.setColor(QPalette::Text, text);
  dark.setColor(QPalette::Button, window);
  dark.setColor(QPalette::ButtonText, text);
  dark.setColor(QPalette::BrightText, QColor(255, 120, 120));
  dark.setColor(QPalette::Light, QColor(80, 80, 84));
  dark.setColor(QPalette::Midlight, QColor(62, 62, 66));
  dark.setColor(QPalette::Mid, QColor(36, 36, 38));
  dark.setColor(QPalette::Dark, QColor(20, 20, 22));
  dark.setColor(QPalette::Shadow, Qt::black);
  dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
  dark.setColor(QPalette::HighlightedText, Qt::black);
  dark.setColor(QPalette::Link, QColor(120, 180, 255));
  dark.setColor(QPalette::LinkVisited, QColor(190, 150, 255));
  dark.setColor(QPalette::PlaceholderText, disabled);
  for (const QPalette::ColorRole role :
       {QPalette::Text, QPalette::ButtonText, QPalette::WindowText}) {
    dark.setColor(QPalette::Disabled, role, disabled);
  }
  return dark;
}

bool IsDarkPalette(const QPalette& palette) {
  return palette.color(QPalette::Window).lightness() <
         palette.color(QPalette::WindowText).lightness();
}

void ApplyLook(Look look) {
  const DesktopLook& desktop = Desktop();
  const bool desktopDark = IsDarkPalette(desktop.Palette);
  if (look == Look::Desktop || (look == Look::Dark) == desktopDark) {
    SetStyleNamed(desktop.Style);
    QApplication::setPalette(desktop.Palette);
    return;
  }
  // Fusion draws every part from the palette, so it reads in either.
  SetStyleNamed(kFusion);
  QApplication::setPalette(look == Look::Dark ? DarkPalette() : FusionLightPalette());
}

}  // namespace kelpa
