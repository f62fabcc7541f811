// SPDX-License-Identifier: MIT
// The whole program started with a translation whose every caption is twice the English one,
// one of them markup: every label shows its whole caption, as the characters it is.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <map>
#include <memory>

#include "console_handle.h"
#include "gui/console/console_window.h"
#include "gui/process/creation_window.h"
#include "gui/process/process_list_window.h"

using namespace kelpa;

namespace {

// Each caption section and the window (form name) that translates from it.
const std::map<QString, QString> kSectionWindows = {
    {"CONSOLE", "Form1"},         {"PROCESS", "Form2"},  {"GP", "frmGP"},
    {"GPO", "frm_Opt"},           {"GM", "frmMemoVirt"}, {"GMO", "frm_Opt_MV"},
    {"SP", "frmAlteraProcessos"}, {"PCB", "PCB"},        {"STAT", "Estatisticas"}};

// A caption that looks like markup.
const QString kMarkup = "<h1><font color=red>Vermelho</font></h1><img src=\"nothing.png\">";

QWidget* Window(const QString& formName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == formName) {
      return widget;
    }
  }
  return nullptr;
}

// The English example with every caption doubled ("Susp." becomes "Susp. Susp.") and the
// console's line of text in markup.
QByteArray LongTranslation(const QString& english) {
  static const QRegularExpression entry("^([A-Za-z0-9_]+)=(.*)$");
  QStringList out;
  QString section;
  for (const QString& raw : english.split('\n')) {
    const QString line = raw.trimmed();
    const QRegularExpressionMatch match = entry.match(line);
    if (line.startsWith('[')) {
      section = line.mid(1, line.size() - 2).toUpper();
    }
    const QString key = match.captured(1);
    if (section == "CONSOLE" && key == "StaticText1") {
      out << key + "=" + kMarkup;
    } else if (match.hasMatch() && kSectionWindows.count(section) != 0 && !key.endsWith("_HINT")) {
      out << key + "=" + match.captured(2) + " " + match.captured(2);
    } else {
      out << line;
    }
  }
  return out.join("\r\n").toUtf8();
}

// Whether the label's contents rectangle holds its whole text, wrapped when the label wraps.
bool ShowsWholeText(const QLabel& label) {
  const QRect box = label.contentsRect();
  const int flags = static_cast<int>(label.alignment()) | (label.wordWrap() ? Qt::TextWordWrap : 0);
  const QRect needed = label.fontMetrics().boundingRect(box, flags, label.text());
  return needed.width() <= box.width() && needed.height() <= box.height();
}

}  // namespace

class TranslatedCaptionsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QFile english(QFINDTESTDATA("../../examples/en/kelpa.ini"));
    QVERIFY2(english.open(QIODevice::ReadOnly), "examples/en/kelpa.ini not found");
    QVERIFY(folder_.isValid());
    QFile ini(folder_.filePath("kelpa.ini"));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write(LongTranslation(QString::fromUtf8(english.readAll())));
    ini.close();
    previousFolder_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(folder_.path()));

    console_ = ConsoleHandle::Started({});
    console_->show();
    // The process list opens only when a process exists, and it opens the PCB window.
    auto* creation = qobject_cast<TForm2*>(Window("Form2"));
    QVERIFY(creation != nullptr);
    creation->Button1Click();
    console_->Selecionar1Click();
    QVERIFY(console_->ProcessListWindow() != nullptr);
    console_->ProcessListWindow()->Button5Click();
    for (const auto& [section, form] : kSectionWindows) {
      QWidget* window = Window(form);
      QVERIFY2(window != nullptr, qPrintable(form));
      window->show();
    }
    QCoreApplication::processEvents();
  }

  void everyLabelShowsItsWholeCaption() {
    int checked = 0;
    QStringList cut;
    for (const auto& [section, form] : kSectionWindows) {
      for (QLabel* label : Window(form)->findChildren<QLabel*>()) {
        if (label->text().isEmpty() || !label->isVisible()) {
          continue;
        }
        if (!ShowsWholeText(*label)) {
          cut << section + "/" + label->objectName() + ": " + label->text();
        }
        ++checked;
      }
    }
    QVERIFY2(cut.isEmpty(), qPrintable(cut.join('\n')));
    QVERIFY(checked > 40);
  }

  // Every label of a translated window is plain text, also those the window fills from the
  // catalogue (the PCB's state).
  void markupInTheFileShowsAsItsCharacters() {
    auto* staticText = Window("Form1")->findChild<QLabel*>("StaticText1");
    QCOMPARE(staticText->text(), kMarkup);
    for (const auto& [section, form] : kSectionWindows) {
      for (QLabel* label : Window(form)->findChildren<QLabel*>()) {
        QVERIFY2(label->textFormat() == Qt::PlainText, qPrintable(label->objectName()));
      }
    }
  }

  void cleanupTestCase() {
    console_.reset();
    QDir::setCurrent(previousFolder_);
  }

 private:
  QTemporaryDir folder_;
  QString previousFolder_;
  ConsoleHandle console_;
};

QTEST_MAIN(TranslatedCaptionsTest)
#include "translated_captions_test.moc"
