// SPDX-License-Identifier: MIT
// The small rules the windows share: black or white text on a process colour, a colour's shade
// that reads on a background, the scale factor of a zoom, fitting a grid's columns to their
// texts within its width, fitting a window into the screen, and a menu caption as the title of
// its dialog.
#include <QtTest>
#include <vector>

#include "gui/common/column_fit.h"
#include "gui/common/qt_convert.h"
#include "gui/common/readable_text.h"
#include "gui/common/screen_fit.h"
#include "gui/common/window_zoom.h"

using kelpa::ContrastRatio;
using kelpa::FitColumnWidths;
using kelpa::ReadableShade;
using kelpa::ReadableTextColour;

class UiCommonTest : public QObject {
  Q_OBJECT

 private slots:
  void textColourFollowsTheBackgroundsLightness_data() {
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("text");
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    QTest::newRow("black") << QColor(0, 0, 0) << white;
    QTest::newRow("white") << QColor(255, 255, 255) << black;
    QTest::newRow("mid grey") << QColor(128, 128, 128) << black;
    QTest::newRow("dark grey") << QColor(90, 90, 90) << white;
    // The ten colours offered to new processes.
    QTest::newRow("bright green") << QColor(0, 255, 0) << black;
    QTest::newRow("red") << QColor(255, 0, 0) << black;
    QTest::newRow("yellow") << QColor(255, 255, 0) << black;
    QTest::newRow("violet") << QColor(128, 0, 255) << white;
    QTest::newRow("blue") << QColor(0, 0, 255) << white;
    QTest::newRow("cyan") << QColor(0, 255, 255) << black;
    QTest::newRow("palette black") << QColor(0, 0, 0) << white;
    QTest::newRow("orange") << QColor(255, 128, 0) << black;
    QTest::newRow("pink") << QColor(255, 128, 192) << black;
    QTest::newRow("dark green") << QColor(0, 128, 0) << white;
  }
  void textColourFollowsTheBackgroundsLightness() {
    QFETCH(QColor, background);
    QFETCH(QColor, text);
    QCOMPARE(ReadableTextColour(background), text);
  }

  void shadeReachesTheContrastWithTheLeastChange_data() {
    QTest::addColumn<QColor>("colour");
    QTest::addColumn<QColor>("background");
    QTest::addColumn<QColor>("shade");
    const QColor white(Qt::white);
    const QColor black(Qt::black);
    QTest::newRow("contrast already") << QColor(0, 0, 255) << white << QColor(0, 0, 255);
    QTest::newRow("black on white") << black << white << black;
    QTest::newRow("yellow darkened") << QColor(255, 255, 0) << white << QColor(122, 122, 0);
    QTest::newRow("red darkened") << QColor(255, 0, 0) << white << QColor(238, 0, 0);
    QTest::newRow("pink keeps its hue") << QColor(255, 128, 192) << white << QColor(178, 89, 134);
    QTest::newRow("white on white") << white << white << QColor(118, 118, 118);
    QTest::newRow("blue lightened on black") << QColor(0, 0, 255) << black << QColor(94, 94, 255);
    QTest::newRow("black on black") << black << black << QColor(117, 117, 117);
  }
  void shadeReachesTheContrastWithTheLeastChange() {
    QFETCH(QColor, colour);
    QFETCH(QColor, background);
    QFETCH(QColor, shade);
    QCOMPARE(ReadableShade(colour, background), shade);
    QVERIFY(ContrastRatio(shade, background) >= kelpa::kReadableContrast);
  }

  void zoomMultipliesTheScaleFactorInForce_data() {
    QTest::addColumn<int>("zoom");
    QTest::addColumn<QByteArray>("user");
    QTest::addColumn<QByteArray>("factor");
    QTest::newRow("100 % leaves it alone") << 100 << QByteArray("2") << QByteArray();
    QTest::newRow("125 %") << 125 << QByteArray() << QByteArray("1.25");
    QTest::newRow("200 % of a user's 1.5") << 200 << QByteArray("1.5") << QByteArray("3");
    QTest::newRow("150 % of nonsense") << 150 << QByteArray("big") << QByteArray("1.5");
    QTest::newRow("150 % of a negative") << 150 << QByteArray("-2") << QByteArray("1.5");
  }
  void zoomMultipliesTheScaleFactorInForce() {
    QFETCH(int, zoom);
    QFETCH(QByteArray, user);
    QFETCH(QByteArray, factor);
    QCOMPARE(kelpa::ScaleFactorForZoom(zoom, user), factor);
  }

  void columnsKeepTheirWidthsUnlessTextsOrRoomSayOtherwise_data() {
    QTest::addColumn<std::vector<int>>("preferred");
    QTest::addColumn<std::vector<int>>("needed");
    QTest::addColumn<int>("available");
    QTest::addColumn<std::vector<int>>("widths");
    using W = std::vector<int>;
    QTest::newRow("room enough") << W{30, 40} << W{20, 20} << 100 << W{30, 40};
    QTest::newRow("narrow column grows") << W{30, 40} << W{20, 45} << 100 << W{30, 45};
    QTest::newRow("growth taken from the roomiest")
        << W{64, 34, 33, 31, 36} << W{30, 28, 30, 36, 30} << 198 << W{59, 34, 33, 36, 36};
    QTest::newRow("too wide for the grid, spread over the roomiest")
        << W{33, 64, 39, 62, 64, 48} << W{25, 50, 30, 45, 50, 45} << 290
        << W{33, 58, 38, 54, 59, 48};
    QTest::newRow("equal room: the first gives first") << W{40, 40} << W{30, 30} << 79 << W{39, 40};
    QTest::newRow("never below what a column needs") << W{30, 30} << W{25, 28} << 40 << W{25, 28};
    QTest::newRow("no needs given") << W{30, 40} << W{} << 60 << W{30, 30};
  }
  void columnsKeepTheirWidthsUnlessTextsOrRoomSayOtherwise() {
    QFETCH(std::vector<int>, preferred);
    QFETCH(std::vector<int>, needed);
    QFETCH(int, available);
    QFETCH(std::vector<int>, widths);
    QCOMPARE(FitColumnWidths(preferred, needed, available), widths);
  }

  void dialogTitlesShowNeitherTheAltLetterNorTheDots_data() {
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("title");
    QTest::newRow("first letter") << QString::fromUtf8("&Abrir cenário...")
                                  << QString::fromUtf8("Abrir cenário");
    QTest::newRow("inner letter") << "Vol&tar..."
                                  << "Voltar";
    QTest::newRow("translated") << "Sa&ve scenario..."
                                << "Save scenario";
    QTest::newRow("an ampersand written") << "Salt && pepper"
                                          << "Salt & pepper";
    QTest::newRow("one ellipsis character") << QString::fromUtf8("&Next…") << "Next";
    QTest::newRow("no letter, no dots") << "Linha do tempo"
                                        << "Linha do tempo";
    QTest::newRow("a lone & at the end") << "Fim&"
                                         << "Fim";
  }
  void dialogTitlesShowNeitherTheAltLetterNorTheDots() {
    QFETCH(QString, caption);
    QFETCH(QString, title);
    QCOMPARE(kelpa::DialogTitle(caption), title);
  }

  // A window is moved the least into the area, then shrunk to it, never below its least size;
  // one that cannot shrink keeps its title bar (its top-left corner) in the area.
  void windowFitsIntoTheArea_data() {
    QTest::addColumn<QRect>("client");
    QTest::addColumn<QSize>("least");
    QTest::addColumn<bool>("fits");
    const QSize none(0, 0);
    QTest::newRow("inside already") << QRect(50, 60, 300, 200) << none << true;
    QTest::newRow("below the bottom") << QRect(330, 560, 900, 420) << none << true;
    QTest::newRow("left of and above the area") << QRect(-200, -50, 300, 200) << none << true;
    QTest::newRow("taller than the area") << QRect(40, 400, 300, 2000) << none << true;
    QTest::newRow("larger both ways") << QRect(40, 400, 3000, 2000) << QSize(200, 100) << true;
    QTest::newRow("fixed, larger than the area")
        << QRect(40, 400, 1500, 900) << QSize(1500, 900) << false;
  }
  void windowFitsIntoTheArea() {
    QFETCH(QRect, client);
    QFETCH(QSize, least);
    QFETCH(bool, fits);
    const QRect area(0, 32, 1024, 736);  // a projector's 768 lines less a panel
    const QMargins frame(4, 28, 4, 4);
    const QRect fitted = kelpa::FitIntoArea(client, frame, area, least);
    const QRect framed = fitted.marginsAdded(frame);
    QCOMPARE(area.contains(framed), fits);
    QVERIFY(area.contains(framed.topLeft()));
    QVERIFY(fitted.width() <= client.width() && fitted.height() <= client.height());
    QVERIFY(fitted.width() >= least.width() && fitted.height() >= least.height());
    // Shrunk only where moving was not enough.
    QVERIFY(fitted.width() == client.width() || framed.width() == area.width());
    QVERIFY(fitted.height() == client.height() || framed.height() == area.height());
    if (area.contains(client.marginsAdded(frame))) {
      QCOMPARE(fitted, client);
    }
  }
};

QTEST_MAIN(UiCommonTest)
#include "ui_common_test.moc"
