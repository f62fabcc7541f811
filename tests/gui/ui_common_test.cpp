// The small rules the windows share: black or white text on a process colour, and fitting a
// grid's columns to their texts within its width.
#include <QtTest>
#include <vector>

#include "gui/common/column_fit.h"
#include "gui/common/readable_text.h"

using kelpa::FitColumnWidths;
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
};

QTEST_MAIN(UiCommonTest)
#include "ui_common_test.moc"
