// SPDX-License-Identifier: MIT
// The credits and help windows.
#include <QLabel>
#include <QTest>

#include "catalogue/messages.h"
#include "gui/about/credits_window.h"
#include "gui/about/help_window.h"

namespace kelpa {

class CreditsHelpTest : public QObject {
  Q_OBJECT

 private slots:
  void creditsShowCaptionAndText() {
    TMessages messages;
    TfrmCreditos credits(messages);
    QCOMPARE(credits.windowTitle(), QStringLiteral("Créditos"));
    QCOMPARE(credits.size(), QSize(494, 225));
    QCOMPARE(credits.pos(), QPoint(292, 118));
    auto* label = credits.findChild<QLabel*>(QStringLiteral("Label1"));
    QVERIFY(label != nullptr);
    QCOMPARE(label->text(),
             QStringLiteral("Developed by the Kelpa developers\n\nVersão 1.1, 2003\n"));
    QCOMPARE(label->font().pixelSize(), 16);
    QVERIFY(label->font().bold());
    QCOMPARE(label->geometry().top(), 56);
    QCOMPARE(label->size(), QSize(488, 245));

    // The caption follows the catalogue each time the window is shown; closing only hides.
    messages.MsgTitCreditos = "Autores";
    credits.show();
    QCOMPARE(credits.windowTitle(), QStringLiteral("Autores"));
    credits.close();
    QVERIFY(credits.isHidden());
    credits.show();
    QCOMPARE(label->text(), TfrmCreditos::CreditsText());
  }

  void helpShowsItsThreeLines() {
    TfrmHelp help;
    QCOMPARE(help.windowTitle(), QStringLiteral("Help"));
    QCOMPARE(help.pos(), QPoint(192, 107));
    auto* label = help.findChild<QLabel*>(QStringLiteral("Label1"));
    const QStringList lines = label->text().split(QLatin1Char('\n'));
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines[0], QStringLiteral("For help information read the tour of the windows:"));
    QVERIFY(lines[2].startsWith(QStringLiteral("/usr/share/doc/kelpa")));
    help.show();
    help.close();
    QVERIFY(help.isHidden());
    help.show();
    QCOMPARE(label->text(), TfrmHelp::HelpText());
    // The text keeps spanning the window as it is resized.
    help.resize(600, 300);
    QCOMPARE(label->width(), 600);
  }
};

}  // namespace kelpa

QTEST_MAIN(kelpa::CreditsHelpTest)
#include "credits_help_test.moc"
