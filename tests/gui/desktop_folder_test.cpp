// SPDX-License-Identifier: MIT
// Started from the menu, Kelpa works in a Kelpa folder of the user's documents: created when
// missing, and when it cannot be made the user is told and the current folder stays.
#include <QDir>
#include <QtTest>
#include <fstream>

#include "app/desktop_folder.h"
#include "support/temp_working_directory.h"

class DesktopFolderTest : public QObject {
  Q_OBJECT

 private slots:
  void theFolderIsUnderTheDocumentsFolder() {
    QVERIFY(kelpa::DesktopFolder().endsWith(QStringLiteral("/Kelpa")));
  }

  void aMissingFolderIsCreatedAndEntered_data() {
    QTest::addColumn<QString>("relative");
    QTest::addColumn<bool>("entered");
    QTest::newRow("missing") << "Documents/Kelpa" << true;
    QTest::newRow("present") << "." << true;
    // A file stands where the folder should be.
    QTest::newRow("blocked by a file") << "file/Kelpa" << false;
  }
  void aMissingFolderIsCreatedAndEntered() {
    QFETCH(QString, relative);
    QFETCH(bool, entered);
    kelpa::test::TempWorkingDirectory dir;
    std::ofstream(dir.File("file")) << "not a folder";
    const QString folder = QString::fromStdString(dir.Path().string()) + "/" + relative;

    const std::optional<std::string> problem = kelpa::EnterDesktopFolder(folder);
    QCOMPARE(!problem.has_value(), entered);
    const QString expected =
        entered ? QDir(folder).canonicalPath() : QString::fromStdString(dir.Path().string());
    QCOMPARE(QDir::current().canonicalPath(), QDir(expected).canonicalPath());
  }
};

QTEST_GUILESS_MAIN(DesktopFolderTest)
#include "desktop_folder_test.moc"
