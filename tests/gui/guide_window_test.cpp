// SPDX-License-Identifier: MIT
// The guide window: the guides built in with every picture they show, links inside and outside
// the guides, and the search.
#include <QFile>
#include <QLineEdit>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QtTest>
#include <vector>

#include "gui/about/guide_window.h"

namespace kelpa {

using Guide = TGuideWindow::Guide;

class GuideWindowTest : public QObject {
  Q_OBJECT

 private slots:
  // Each guide in each language is built in and shows with all of its pictures.
  void everyGuideShowsWithItsPictures() {
    const TMessages msg;
    for (const bool english : {false, true}) {
      TGuideWindow window(msg, english);
      auto* text = window.findChild<QTextBrowser*>(QStringLiteral("Texto"));
      for (const Guide guide : {Guide::Tour, Guide::Scenarios, Guide::Runner}) {
        window.Open(guide);
        const QUrl shown = window.Shown();
        QCOMPARE(shown, window.GuideUrl(guide));
        QVERIFY(shown.path().endsWith(english ? QLatin1String(".en.md") : QLatin1String(".pt.md")));
        QVERIFY2(text->document()->characterCount() > 1000, qPrintable(shown.path()));
        int pictures = 0;
        for (QTextBlock block = text->document()->begin(); block.isValid(); block = block.next()) {
          for (auto piece = block.begin(); !piece.atEnd(); ++piece) {
            const QTextCharFormat format = piece.fragment().charFormat();
            if (format.isImageFormat()) {
              const QString file = shown.resolved(QUrl(format.toImageFormat().name())).path();
              QVERIFY2(QFile::exists(QLatin1Char(':') + file), qPrintable(file));
              ++pictures;
            }
          }
        }
        QVERIFY(guide != Guide::Tour || pictures > 10);
      }
    }
  }

  // A guide's link opens here (at its heading), a web address outside, and a file the guides do
  // not hold is said in the window.
  void linksOpenInsideOrOutside() {
    const TMessages msg;
    TGuideWindow window(msg, false);
    window.resize(700, 400);
    window.show();
    QCoreApplication::processEvents();
    std::vector<QUrl> opened;
    window.OpenExternal = [&opened](const QUrl& link) { opened.push_back(link); };
    auto* text = window.findChild<QTextBrowser*>(QStringLiteral("Texto"));

    window.FollowLink(QUrl(QStringLiteral("scenarios.pt.md")));
    QCOMPARE(window.Shown(), window.GuideUrl(Guide::Scenarios));
    window.FollowLink(QUrl(QString::fromUtf8("tour.pt.md#cenários-nas-janelas")));
    QCOMPARE(window.Shown(), window.GuideUrl(Guide::Tour));
    QVERIFY(text->verticalScrollBar()->value() > 0);
    QCOMPARE(text->textCursor().block().text(), QString::fromUtf8("Cenários nas janelas"));

    window.FollowLink(QUrl(QStringLiteral("https://example.org/kelpa")));
    QCOMPARE(opened, std::vector<QUrl>{QUrl(QStringLiteral("https://example.org/kelpa"))});
    QCOMPARE(window.Shown(), window.GuideUrl(Guide::Tour));

    window.FollowLink(QUrl(QStringLiteral("../examples/en/kelpa.ini")));
    QCOMPARE(window.Shown(), window.GuideUrl(Guide::Tour));
    QCOMPARE(window.Status(), QStringLiteral("Fora do guia: ../examples/en/kelpa.ini"));
    QCOMPARE(opened.size(), 1u);
  }

  // The search goes round the guide once either way, and says in the window when the text is not
  // there, leaving the place as it was.
  void searchFindsEitherWayAndSaysWhenNot() {
    const TMessages msg;
    TGuideWindow window(msg, false);
    auto* text = window.findChild<QTextBrowser*>(QStringLiteral("Texto"));
    auto* field = window.findChild<QLineEdit*>(QStringLiteral("Procurar"));
    field->setText(QStringLiteral("Pagefile"));
    QVERIFY(window.FindNext());
    const int first = text->textCursor().position();
    QVERIFY(window.FindNext());
    QVERIFY(text->textCursor().position() > first);
    QVERIFY(window.FindPrevious());
    QCOMPARE(text->textCursor().position(), first);
    QVERIFY(window.FindPrevious());  // round the start, to the last one
    QVERIFY(text->textCursor().position() > first);
    QVERIFY(window.Status().isEmpty());

    const int before = text->textCursor().position();
    field->setText(QStringLiteral("xyzzy"));
    QVERIFY(!window.FindNext());
    QCOMPARE(window.Status(), QString::fromUtf8("Não encontrado: xyzzy"));
    QCOMPARE(text->textCursor().position(), before);
    field->setText(QStringLiteral("xyz"));
    QVERIFY(window.Status().isEmpty());
  }
};

}  // namespace kelpa

QTEST_MAIN(kelpa::GuideWindowTest)
#include "guide_window_test.moc"
