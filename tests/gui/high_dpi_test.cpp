// SPDX-License-Identifier: MIT
// The program started as the program entry starts it, with a zoom of 200 % in kelpa.ini: every
// window is scaled by two, and the console's lamp is drawn at the windows' pixel ratio, as sharp
// as the text beside it.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QTemporaryDir>
#include <QtTest>
#include <utility>

#include "console_handle.h"
#include "gui/common/window_zoom.h"
#include "gui/console/console_window.h"
#include "gui/processor/processor_window.h"

using namespace kelpa;

class HighDpiTest : public QObject {
  Q_OBJECT

 private slots:
  void lampFollowsTheWindowsPixelRatio() {
    TConsoleHooks hooks;
    hooks.StartZoom = 200;
    const ConsoleHandle console = ConsoleHandle::Started(std::move(hooks));
    QVERIFY(console->isVisible());
    QCOMPARE(console->devicePixelRatioF(), 2.0);
    QCOMPARE(console->ProcessorWindow()->devicePixelRatioF(), 2.0);
    for (const char* name : {"Image1", "Image2"}) {
      const QPixmap lamp = console->findChild<QLabel*>(name)->pixmap();
      QCOMPARE(lamp.devicePixelRatio(), console->devicePixelRatioF());
      QCOMPARE(lamp.size(), QSize(34, 32));
      QCOMPARE(lamp.deviceIndependentSize(), QSizeF(17, 16));
    }
    // The zoom in force is the one checked.
    QVERIFY(console->findChild<QAction*>("Zoom200")->isChecked());
  }
};

int main(int argc, char* argv[]) {
  // Before the application object, as the program entry does it.
  QTemporaryDir folder;
  if (!folder.isValid() || !QDir::setCurrent(folder.path())) {
    return 1;
  }
  QFile ini(QStringLiteral("kelpa.ini"));
  if (!ini.open(QIODevice::WriteOnly) || ini.write("[VISUAL]\r\nZOOM=200\r\n") < 0) {
    return 1;
  }
  ini.close();
  qunsetenv("QT_SCALE_FACTOR");
  if (ApplyZoomSetting() != 200) {
    return 1;
  }
  QApplication app(argc, argv);
  HighDpiTest test;
  return QTest::qExec(&test, argc, argv);
}

#include "high_dpi_test.moc"
