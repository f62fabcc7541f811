// SPDX-License-Identifier: MIT
// Started from the menu, Kelpa works in a Kelpa folder of the user's documents: created when
// missing, and when it cannot be made the user is told and the current folder stays.
#include <QDir>
#include <QFile>
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

  // Told before the catalogue is loaded: in the words of the kelpa.ini of the folder Kelpa stays
  // in, or the built-in ones.
  void theProblemIsToldInTheCataloguesWords_data() {
    QTest::addColumn<bool>("english");
    QTest::addColumn<QString>("expected");
    QTest::newRow("built-in") << false
                              << "Não foi possível trabalhar na pasta %1; o Kelpa guarda seus "
                                 "arquivos em %2";
    QTest::newRow("English kelpa.ini")
        << true << "Unable to work in the folder %1; Kelpa keeps its files in %2";
  }
  void theProblemIsToldInTheCataloguesWords() {
    QFETCH(bool, english);
    QFETCH(QString, expected);
    kelpa::test::TempWorkingDirectory dir;
    std::ofstream(dir.File("file")) << "not a folder";
    if (english) {
      QVERIFY(QFile::copy(QFINDTESTDATA("../../examples/en/kelpa.ini"),
                          QString::fromStdString(dir.File("kelpa.ini"))));
    }
    const QString here = QDir::currentPath();
    const QString folder = here + "/file/Kelpa";
    const std::optional<std::string> problem = kelpa::EnterDesktopFolder(folder);
    QVERIFY(problem.has_value());
    QCOMPARE(QString::fromStdString(*problem), expected.arg(folder, here));
  }
};

QTEST_GUILESS_MAIN(DesktopFolderTest)
#include "desktop_folder_test.moc"
