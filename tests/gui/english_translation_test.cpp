// SPDX-License-Identifier: MIT
// The whole program started in-process with examples/en/kelpa.ini as its settings file: every
// window caption, every component caption and hint, the texts the windows take from the
// catalogue and every log line of a short run must be the file's English.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QSlider>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "catalogue/messages.h"
#include "console_handle.h"
#include "gui/console/console_window.h"
#include "gui/console/log_window.h"
#include "gui/process/creation_window.h"
#include "gui/process/process_list_window.h"
#include "platform/ini_file.h"
#include "session/log_writer.h"
#include "simulation/process.h"
#include "simulation/simulation.h"

using namespace kelpa;

namespace {

// Each caption section and the window (form name) that translates from it.
const std::map<QString, QString> kSectionWindows = {
    {"CONSOLE", "Form1"},         {"PROCESS", "Form2"},  {"GP", "frmGP"},
    {"GPO", "frm_Opt"},           {"GM", "frmMemoVirt"}, {"GMO", "frm_Opt_MV"},
    {"SP", "frmAlteraProcessos"}, {"PCB", "PCB"},        {"STAT", "Estatisticas"}};

// Each window whose caption comes from the catalogue, with its key.
const std::map<QString, QString> kWindowTitles = {
    {"Form1", "MSG9000"},       {"frmGP", "MSG9001"},
    {"frmMemoVirt", "MSG9002"}, {"frmAlteraProcessos", "MSG9003"},
    {"PCB", "MSG9004"},         {"Estatisticas", "MSG9005"},
    {"frm_Opt_MV", "MSG9006"},  {"frmCreditos", "MSG9007"},
    {"frm_Opt", "MSG9008"},     {"frmLinhaDoTempo", "MSG9009"}};

const QString kHintSuffix = "_HINT";

// The tab widget of a tab page and the page's index; null for anything else.
QTabWidget* TabOf(QObject* component, int& index) {
  auto* page = qobject_cast<QWidget*>(component);
  if (page == nullptr || qobject_cast<QStackedWidget*>(page->parent()) == nullptr) {
    return nullptr;
  }
  auto* tabs = qobject_cast<QTabWidget*>(page->parent()->parent());
  index = tabs != nullptr ? tabs->indexOf(page) : -1;
  return index >= 0 ? tabs : nullptr;
}

// The caption a component shows; none for kinds without one (grids, spin boxes, sliders...).
std::optional<QString> CaptionOf(QObject* component) {
  int index = -1;
  if (QTabWidget* tabs = TabOf(component, index)) {
    return tabs->tabText(index);
  }
  if (auto* label = qobject_cast<QLabel*>(component)) {
    return label->text();
  }
  if (auto* button = qobject_cast<QAbstractButton*>(component)) {
    return button->text();
  }
  if (auto* box = qobject_cast<QGroupBox*>(component)) {
    return box->title();
  }
  if (auto* menu = qobject_cast<QMenu*>(component)) {
    return menu->title();
  }
  if (auto* action = qobject_cast<QAction*>(component)) {
    return action->text();
  }
  return std::nullopt;
}

QString HintOf(QObject* component) {
  int index = -1;
  if (QTabWidget* tabs = TabOf(component, index)) {
    return tabs->tabToolTip(index);
  }
  if (auto* action = qobject_cast<QAction*>(component)) {
    return action->toolTip();
  }
  auto* widget = qobject_cast<QWidget*>(component);
  return widget != nullptr ? widget->toolTip() : QString();
}

// Components with a caption that are no part of the translation: the console's lamp pictures
// and the tab bar's own scroll arrows.
bool NotTranslated(const QString& name) {
  return name.startsWith("Image") || name == "ScrollLeftButton" || name == "ScrollRightButton";
}

// Captions the program writes itself (only their hints are translated): value boxes, the
// numbers of the ready queues and the speed controls' values.
bool CaptionWrittenByProgram(const QString& section, const QString& name) {
  static const QRegularExpression valueBox("^StaticText\\d+$");
  static const QRegularExpression queueNumber("^Label([1-9]|1[0-6])$");
  if (section == "GP") {
    return queueNumber.match(name).hasMatch() || name.endsWith("Valor");
  }
  return (section == "GM" || section == "PCB" || section == "STAT") &&
         valueBox.match(name).hasMatch();
}

QWidget* Window(const QString& formName) {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget->objectName() == formName) {
      return widget;
    }
  }
  return nullptr;
}

QList<QObject*> Components(QWidget* window) {
  QList<QObject*> named;
  for (QObject* component : window->findChildren<QObject*>()) {
    const QString name = component->objectName();
    if (!name.isEmpty() && !name.startsWith("qt_")) {
      named << component;
    }
  }
  return named;
}

}  // namespace

class EnglishTranslationTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void catalogueIsCompleteAndTranslated();
  void windowCaptionsAreEnglish();
  void componentCaptionsAndHintsAreTheFilesTexts();
  void everyCaptionedComponentHasItsKeys();
  void catalogueTextsInWindowsAreEnglish();
  void logOfAShortRunIsEnglish();
  void cleanupTestCase();

 private:
  QString Text(const QString& section, const QString& key) const;
  bool LogHas(const QString& text) const;
  QStringList LogBodies() const;

  QTemporaryDir folder_;
  QString previousFolder_;
  std::unique_ptr<TIniFile> file_;
  // Key names of each section, in file order (the reader has no listing of its own).
  std::map<QString, QStringList> keys_;
  ConsoleHandle console_;
};

QString EnglishTranslationTest::Text(const QString& section, const QString& key) const {
  return QString::fromStdString(file_->ReadString(section.toStdString(), key.toStdString(), ""));
}

void EnglishTranslationTest::initTestCase() {
  const QString source = QFINDTESTDATA("../../examples/en/kelpa.ini");
  QVERIFY2(!source.isEmpty(), "examples/en/kelpa.ini not found");
  QVERIFY(folder_.isValid());
  QVERIFY(QFile::copy(source, folder_.filePath("kelpa.ini")));
  previousFolder_ = QDir::currentPath();
  QVERIFY(QDir::setCurrent(folder_.path()));
  file_ = std::make_unique<TIniFile>(KelpaIniPath());

  QFile text(folder_.filePath("kelpa.ini"));
  QVERIFY(text.open(QIODevice::ReadOnly | QIODevice::Text));
  QString section;
  for (const QString& raw : QString::fromUtf8(text.readAll()).split('\n')) {
    const QString line = raw.trimmed();
    if (line.startsWith('[') && line.endsWith(']')) {
      section = line.mid(1, line.size() - 2).toUpper();
    } else if (!line.startsWith(';') && line.contains('=')) {
      keys_[section] << line.left(line.indexOf('=')).trimmed();
    }
  }

  console_ = ConsoleHandle::Started({});
  console_->show();

  // Three processes, one through the creation window, and the clock at full speed.
  auto* creation = qobject_cast<TForm2*>(Window("Form2"));
  QVERIFY(creation != nullptr);
  creation->show();
  creation->Button1Click();
  {
    Simulation& sim = console_->Sim();
    std::lock_guard lock(sim.Lock);
    sim.Kernel.AddProcess(TProcesso::Create(sim, 1, 6, 2, 0x0000FF));
    sim.Kernel.AddProcess(TProcesso::Create(sim, 4, 3, 3, 0xFF0000));
  }
  auto* clock = Window("frmGP")->findChild<QSlider*>("tbClock");
  QVERIFY(clock != nullptr);
  clock->setValue(clock->maximum());

  // Every window open: the list is created by its menu command, the PCB by the list.
  console_->Selecionar1Click();
  QVERIFY(console_->ProcessListWindow() != nullptr);
  console_->ProcessListWindow()->Button5Click();
  for (const char* name : {"frmGP", "frmMemoVirt", "frm_Opt", "frm_Opt_MV", "Estatisticas",
                           "frmCreditos", "frmLog", "frmHelp", "PCB"}) {
    QWidget* window = Window(name);
    QVERIFY2(window != nullptr, name);
    window->show();
  }
  QVERIFY(Window("PCB")->isVisible());
}

void EnglishTranslationTest::catalogueIsCompleteAndTranslated() {
  // The few texts that read the same in both languages.
  const QStringList sameInBoth = {"MSG0501", "MSG0502", "MSG0606", "MSG0609", "MSG3252", "MSG3301",
                                  "MSG3302", "MSG3303", "MSG3308", "MSG3322", "MSG3372"};
  const TMessages portuguese;
  for (const TMessageEntry& entry : MessageEntries()) {
    QVERIFY2(file_->HasKey(entry.Section, entry.Key), entry.Key);
    const QString text = Text(entry.Section, entry.Key);
    QCOMPARE(QString::fromStdString(console_->Msg().*entry.Field), text);
    QVERIFY2(
        sameInBoth.contains(entry.Key) || text != QString::fromStdString(portuguese.*entry.Field),
        entry.Key);
  }
}

void EnglishTranslationTest::windowCaptionsAreEnglish() {
  for (const auto& [form, key] : kWindowTitles) {
    QWidget* window = Window(form);
    QVERIFY2(window != nullptr, qPrintable(form));
    QCOMPARE(window->windowTitle(), Text("MSG", key));
  }
}

void EnglishTranslationTest::componentCaptionsAndHintsAreTheFilesTexts() {
  int checked = 0;
  for (const auto& [section, form] : kSectionWindows) {
    QWidget* window = Window(form);
    QVERIFY2(window != nullptr, qPrintable(form));
    for (const QString& key : keys_[section]) {
      const bool hint = key.endsWith(kHintSuffix);
      const QString name = hint ? key.chopped(kHintSuffix.size()) : key;
      const QString where = section + "/" + key;
      const QList<QObject*> found = window->findChildren<QObject*>(name);
      QVERIFY2(found.size() == 1, qPrintable(where + ": not exactly one component of that name"));
      const std::optional<QString> caption = CaptionOf(found.front());
      QVERIFY2(caption.has_value(), qPrintable(where + ": the component has no caption"));
      QCOMPARE(hint ? HintOf(found.front()) : *caption, Text(section, key));
      ++checked;
    }
  }
  QVERIFY(checked > 150);
}

void EnglishTranslationTest::everyCaptionedComponentHasItsKeys() {
  for (const auto& [section, form] : kSectionWindows) {
    const QStringList& keys = keys_[section];
    for (QObject* component : Components(Window(form))) {
      const QString name = component->objectName();
      if (!CaptionOf(component) || NotTranslated(name)) {
        continue;
      }
      const QString where = section + "/" + name;
      QVERIFY2(keys.contains(name + kHintSuffix), qPrintable(where + ": no hint in the file"));
      QVERIFY2(keys.contains(name) || CaptionWrittenByProgram(section, name),
               qPrintable(where + ": no caption in the file"));
    }
  }
}

void EnglishTranslationTest::catalogueTextsInWindowsAreEnglish() {
  auto* list = Window("frmAlteraProcessos")->findChild<QTableWidget*>("stg1");
  for (int column = 0; column < 6; ++column) {
    QCOMPARE(list->horizontalHeaderItem(column)->text(),
             Text("MSG", QString("MSG050%1").arg(column)));
  }
  QStringList states;
  for (int state = 0; state <= 8; ++state) {
    states << Text("MSG", QString("MSG051%1").arg(state));
  }
  QTRY_VERIFY(list->item(0, 3) != nullptr);
  for (int row = 0; row < list->rowCount(); ++row) {
    QVERIFY2(states.contains(list->item(row, 3)->text()), qPrintable(list->item(row, 3)->text()));
  }

  auto* pageTable = Window("PCB")->findChild<QTableWidget*>("stg1");
  for (int column = 0; column < 5; ++column) {
    QCOMPARE(pageTable->item(0, column)->text(), Text("MSG", QString("MSG060%1").arg(column)));
  }

  auto* fetch = Window("frm_Opt_MV")->findChild<QComboBox*>("ComboBox1");
  QCOMPARE(fetch->itemText(0), Text("MSG", "MSG0700"));
  QCOMPARE(fetch->itemText(1), Text("MSG", "MSG0701"));
}

QStringList EnglishTranslationTest::LogBodies() const {
  console_->Log()->Flush();
  QFile file(QString::fromStdString(console_->LogWindow()->FileName()));
  if (!file.open(QIODevice::ReadOnly)) {
    return {};
  }
  static const QRegularExpression stamp("^\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d : ");
  QStringList bodies;
  for (const QString& line : QString::fromUtf8(file.readAll()).split("\r\n")) {
    if (!line.isEmpty()) {
      const QRegularExpressionMatch match = stamp.match(line);
      bodies << (match.hasMatch() ? line.mid(match.capturedLength()) : "(no time stamp) " + line);
    }
  }
  return bodies;
}

bool EnglishTranslationTest::LogHas(const QString& text) const {
  for (const QString& body : LogBodies()) {
    if (body.contains(text)) {
      return true;
    }
  }
  return false;
}

void EnglishTranslationTest::logOfAShortRunIsEnglish() {
  // Run until the processes have been dispatched and have faulted or waited, then end.
  QTRY_VERIFY_WITH_TIMEOUT(LogHas(Text("MSGLOG", "MSGLOG0602")), 60000);
  QTRY_VERIFY_WITH_TIMEOUT(LogHas(Text("MSGLOG", "MSGLOG0603")), 60000);
  console_->Fim1Click();

  auto text = [this](const char* key) { return Text("MSGLOG", key); };
  const QStringList systemTexts = {text("MSGLOG0001"), text("MSGLOG0002"), text("MSGLOG0003"),
                                   text("MSGLOG0701"), text("MSGLOG0705"), text("MSGLOG0900"),
                                   text("MSGLOG0901"), text("MSGLOG0906")};
  QStringList eventTexts;
  for (const QString& key : keys_["MSGLOG"]) {
    const QString value = text(qPrintable(key));
    if (key != "MSGLOG0600" && !systemTexts.contains(value)) {
      eventTexts << value;
    }
  }
  const QRegularExpression processLine("^" + QRegularExpression::escape(text("MSGLOG0600")) +
                                       "\\d+(.*)$");
  // The lines of a raise after a page wait and of a capped raise keep their fixed Portuguese
  // words.
  const QRegularExpression raiseLine("^Processo \\d+(" +
                                     QRegularExpression::escape(text("MSGLOG0700")) +
                                     "\\+2| nao pode ter inc acima de \\d+)$");

  const QStringList bodies = LogBodies();
  QVERIFY(bodies.size() > 10);
  QCOMPARE(bodies.front(), text("MSGLOG0001"));
  QVERIFY(bodies.back().startsWith(text("MSGLOG0003")));
  for (const QString& body : bodies) {
    const QRegularExpressionMatch process = processLine.match(body);
    bool english = raiseLine.match(body).hasMatch();
    for (const QString& start : systemTexts) {
      english = english || body.startsWith(start);
    }
    for (const QString& event : eventTexts) {
      english = english || (process.hasMatch() && process.captured(1).startsWith(event));
    }
    QVERIFY2(english, qPrintable("not English: " + body));
  }
}

void EnglishTranslationTest::cleanupTestCase() {
  console_.reset();
  QDir::setCurrent(previousFolder_);
}

QTEST_MAIN(EnglishTranslationTest)
#include "english_translation_test.moc"
