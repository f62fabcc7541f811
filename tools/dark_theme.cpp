// SPDX-License-Identifier: MIT
// Kelpa in a dark theme: the program as its entry starts it, in Qt's Fusion style with a dark
// palette, for checking by eye (and picturing for the documentation) that every window reads in
// one. Not installed. scripts/screenshots --dark runs it.
#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <utility>

#include "app/qt_shell.h"
#include "gui/common/window_zoom.h"

namespace {

QPalette DarkPalette() {
  QPalette dark;
  const QColor window(45, 45, 48);
  const QColor base(30, 30, 32);
  const QColor text(230, 230, 230);
  dark.setColor(QPalette::Window, window);
  dark.setColor(QPalette::WindowText, text);
  dark.setColor(QPalette::Base, base);
  dark.setColor(QPalette::AlternateBase, window);
  dark.setColor(QPalette::ToolTipBase, base);
  dark.setColor(QPalette::ToolTipText, text);
  dark.setColor(QPalette::Text, text);
  dark.setColor(QPalette::Button, window);
  dark.setColor(QPalette::ButtonText, text);
  dark.setColor(QPalette::BrightText, Qt::red);
  dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
  dark.setColor(QPalette::HighlightedText, Qt::black);
  dark.setColor(QPalette::PlaceholderText, QColor(150, 150, 150));
  dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
  dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
  dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
  return dark;
}

}  // namespace

int main(int argc, char* argv[]) {
  const int zoom = kelpa::ApplyZoomSetting();
  QApplication app(argc, argv);
  QApplication::setQuitOnLastWindowClosed(false);
  QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
  QApplication::setPalette(DarkPalette());

  kelpa::TConsoleHooks hooks;
  hooks.StartZoom = zoom;
  hooks.OnFinished = [] {
    QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
  };
  kelpa::QtShell program(std::move(hooks));
  program.Console().FormCreate();
  program.Console().CreateProcessWindows();
  return QApplication::exec();
}
