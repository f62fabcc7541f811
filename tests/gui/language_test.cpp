// SPDX-License-Identifier: MIT
// The language loader on small forms with one component of each kind, in a temporary folder
// that serves as the current directory.
#include <QAction>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <QTranslator>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gui/language/language.h"
#include "gui/language/qt_translation.h"
#include "gui/process/statistics_window.h"
#include "platform/ini_file.h"
#include "support/test_simulation.h"

namespace kelpa {
namespace {

// A form with the kinds of components the windows use.
struct Form {
  Form() {
    auto* bar = new QMenuBar(&window);
    menu = new QMenu(QStringLiteral("Processo"), bar);
    menu->setObjectName(QStringLiteral("Processo1"));
    bar->addMenu(menu);
    action = new QAction(QStringLiteral("&Fim"), &window);
    action->setObjectName(QStringLiteral("Fim1"));
    menu->addAction(action);
    label = Named(new QLabel(QStringLiteral("Prioridade"), &window), "Label1");
    button = Named(new QPushButton(QStringLiteral("Criar"), &window), "Button1");
    button->setToolTip(QStringLiteral("cria"));
    check = Named(new QCheckBox(QStringLiteral("Preempção"), &window), "CheckBox1");
    group = Named(new QGroupBox(QStringLiteral("Tipo"), &window), "RadioGroup1");
    spin = Named(new QSpinBox(&window), "SpinEdit1");
    spin->setToolTip(QStringLiteral("prioridade"));
    edit = Named(new QLineEdit(QStringLiteral("texto"), &window), "Edit1");
    tabs = Named(new QTabWidget(&window), "PageControl1");
    page = Named(new QWidget, "TabSheet1");
    tabs->addTab(page, QStringLiteral("Geral"));
  }
  template <typename T>
  static T* Named(T* object, const char* name) {
    object->setObjectName(QString::fromLatin1(name));
    return object;
  }

  QWidget window;
  QMenu* menu;
  QAction* action;
  QLabel* label;
  QPushButton* button;
  QCheckBox* check;
  QGroupBox* group;
  QSpinBox* spin;
  QLineEdit* edit;
  QTabWidget* tabs;
  QWidget* page;
};

// Records the keys that TranslateForm hands to the virtual TranslateComponent.
class RecordingLanguage : public TLanguage {
 public:
  void TranslateComponent(const std::string& section, const std::string& key,
                          QObject* component) override {
    keys.push_back(key);
    TLanguage::TranslateComponent(section, key, component);
  }
  std::vector<std::string> keys;
};

}  // namespace

class LanguageTest : public QObject {
  Q_OBJECT

 private:
  TLanguage language_;
  QTemporaryDir dir_;
  QString previousDir_;

  void WriteIni(const QByteArray& contents) {
    QFile file(dir_.filePath(QStringLiteral("kelpa.ini")));
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
  }

 private slots:
  void initTestCase() {
    QVERIFY(dir_.isValid());
    previousDir_ = QDir::currentPath();
    QVERIFY(QDir::setCurrent(dir_.path()));
  }
  void cleanupTestCase() { QDir::setCurrent(previousDir_); }
  void init() {
    QFile::remove(dir_.filePath(QStringLiteral("kelpa.ini")));
    language_.SetFileName(KelpaIniPath());
  }

  void withoutFileEveryCaptionAndHintStays() {
    Form form;
    language_.TranslateForm("PROCESS", &form.window);
    QCOMPARE(form.button->text(), QStringLiteral("Criar"));
    QCOMPARE(form.button->toolTip(), QStringLiteral("cria"));
    QCOMPARE(form.label->text(), QStringLiteral("Prioridade"));
    QCOMPARE(form.action->text(), QStringLiteral("&Fim"));
    QCOMPARE(form.menu->title(), QStringLiteral("Processo"));
    QCOMPARE(form.tabs->tabText(0), QStringLiteral("Geral"));
  }

  void menuItemsAreRenamed() {
    WriteIni("[CONSOLE]\r\nFim1=&Sair\r\nProcesso1=Tarefa\r\nFim1_HINT=Termina\r\n");
    Form form;
    language_.TranslateForm("CONSOLE", &form.window);
    QCOMPARE(form.action->text(), QStringLiteral("&Sair"));
    QCOMPARE(form.action->toolTip(), QStringLiteral("Termina"));
    QCOMPARE(form.menu->title(), QStringLiteral("Tarefa"));
  }

  void captionAndHintOfEachCaptionedKind() {
    WriteIni(
        "[PROCESS]\nButton1=Novo\nButton1_HINT=Cria um processo\nCheckBox1=Ligado\n"
        "RadioGroup1=Espécie\nTabSheet1=Página\nTabSheet1_HINT=dica da página\n"
        "Label1_HINT=só a dica\n");
    Form form;
    language_.TranslateForm("PROCESS", &form.window);
    QCOMPARE(form.button->text(), QStringLiteral("Novo"));
    QCOMPARE(form.button->toolTip(), QStringLiteral("Cria um processo"));
    QCOMPARE(form.check->text(), QStringLiteral("Ligado"));
    QCOMPARE(form.group->title(), QStringLiteral("Espécie"));
    QCOMPARE(form.tabs->tabText(0), QStringLiteral("Página"));
    QCOMPARE(form.tabs->tabToolTip(0), QStringLiteral("dica da página"));
    // A hint without a caption key changes the hint only.
    QCOMPARE(form.label->text(), QStringLiteral("Prioridade"));
    QCOMPARE(form.label->toolTip(), QStringLiteral("só a dica"));
  }

  void kindsWithoutCaptionAreLeftAlone() {
    WriteIni(
        "[PROCESS]\nSpinEdit1=9\nSpinEdit1_HINT=outra\nEdit1=outro\nEdit1_HINT=x\n"
        "PageControl1=abas\nPageControl1_HINT=y\n");
    Form form;
    form.spin->setValue(3);
    language_.TranslateForm("PROCESS", &form.window);
    QCOMPARE(form.spin->toolTip(), QStringLiteral("prioridade"));
    QCOMPARE(form.spin->value(), 3);
    QCOMPARE(form.edit->text(), QStringLiteral("texto"));
    QCOMPARE(form.edit->toolTip(), QString());
    QCOMPARE(form.tabs->toolTip(), QString());
  }

  void emptyValueEmptiesCaption() {
    WriteIni("[PROCESS]\nButton1=\nButton1_HINT=\n");
    Form form;
    language_.TranslateForm("PROCESS", &form.window);
    QCOMPARE(form.button->text(), QString());
    QCOMPARE(form.button->toolTip(), QString());
  }

  void formsTranslateFromTheirOwnSections() {
    WriteIni("[GP]\nLabel1=Pronto\n[STAT]\nLabel1=Estatística\n");
    Form processor;
    Form statistics;
    language_.TranslateForm("GP", &processor.window);
    language_.TranslateForm("STAT", &statistics.window);
    QCOMPARE(processor.label->text(), QStringLiteral("Pronto"));
    QCOMPARE(statistics.label->text(), QStringLiteral("Estatística"));
  }

  void editedFileIsSeenAtNextLookup() {
    WriteIni("[PCB]\nLabel1=um\n");
    Form form;
    language_.TranslateForm("PCB", &form.window);
    QCOMPARE(form.label->text(), QStringLiteral("um"));
    WriteIni("[PCB]\nLabel1=dois\n");
    language_.TranslateForm("PCB", &form.window);
    QCOMPARE(form.label->text(), QStringLiteral("dois"));
  }

  // Each window translates with the loader it is given, and one given none keeps its design texts.
  void windowsTranslateWithTheirOwnLoader() {
    WriteIni("[STAT]\nLabel1=Primeiro\n");
    QFile other(dir_.filePath(QStringLiteral("other.ini")));
    QVERIFY(other.open(QIODevice::WriteOnly));
    other.write("[STAT]\nLabel1=Segundo\n");
    other.close();
    TLanguage second(other.fileName().toStdString());
    test::TestSimulation t;
    const TEstatisticas first(t.sim, &language_);
    const TEstatisticas translatedBySecond(t.sim, &second);
    const TEstatisticas untranslated(t.sim);
    const auto caption = [](const QWidget& window) {
      return window.findChild<QLabel*>(QStringLiteral("Label1"))->text();
    };
    QCOMPARE(caption(first), QStringLiteral("Primeiro"));
    QCOMPARE(caption(translatedBySecond), QStringLiteral("Segundo"));
    QCOMPARE(caption(untranslated), QString::fromUtf8("Hora do Início"));
  }

  void closedFileChangesNothing() {
    WriteIni("[PROCESS]\nButton1=Novo\n");
    language_.CloseFile();
    Form form;
    language_.TranslateForm("PROCESS", &form.window);
    QCOMPARE(form.button->text(), QStringLiteral("Criar"));
  }

  void emptyFileNameKeepsTheOpenFile() {
    WriteIni("[PROCESS]\nButton1=Novo\n");
    language_.SetFileName("");
    QCOMPARE(language_.FileName, std::string());
    Form form;
    language_.TranslateForm("PROCESS", &form.window);
    QCOMPARE(form.button->text(), QStringLiteral("Novo"));
  }

  void labelsShowTheirCaptionAsPlainText() {
    WriteIni(
        "[PROCESS]\nLabel1=<h1><font color=red>Grande</font></h1>\nButton1_HINT=<b>a</b> & b\n");
    Form form;
    const int designWidth = form.label->width();
    language_.TranslateForm("PROCESS", &form.window);
    QCOMPARE(form.label->textFormat(), Qt::PlainText);
    QVERIFY(form.label->width() > designWidth);  // grown to the literal markup
    QTextDocument hint;
    hint.setHtml(form.button->toolTip());
    QCOMPARE(hint.toPlainText(), QStringLiteral("<b>a</b> & b"));
  }

  // Qt's standard buttons speak the interface's language: Portuguese unless the file names
  // another; an unknown language, or none installed, leaves Qt's built-in English.
  void qtTextsFollowTheInterfaceLanguage() {
    const QString qtFolder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    struct Case {
      QByteArray Ini;
      QString Folder;
      QString Cancel;
    };
    const std::vector<Case> cases = {
        {"", qtFolder, QStringLiteral("Cancelar")},
        {"[MSG]\nLANGUAGE=en\n", qtFolder, QStringLiteral("Cancel")},
        {"[MSG]\nLANGUAGE=../../etc/x\n", qtFolder, QStringLiteral("Cancelar")},
        {"[MSG]\nLANGUAGE=xx\n", qtFolder, QStringLiteral("Cancel")},
        {"", dir_.path(), QStringLiteral("Cancel")},
    };
    for (const Case& c : cases) {
      WriteIni(c.Ini);
      QTranslator* translator = InstallQtTranslation({KelpaIniPath()}, c.Folder);
      const QDialogButtonBox box(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
      QCOMPARE(box.button(QDialogButtonBox::Cancel)->text(), c.Cancel);
      QCoreApplication::removeTranslator(translator);
      delete translator;
    }
  }

  void formVisitsNamedComponentsThroughTheVirtualCall() {
    RecordingLanguage language;
    language.SetFileName(KelpaIniPath());
    Form form;
    form.window.setObjectName(QStringLiteral("frmTest"));
    new QLabel(QStringLiteral("sem nome"), &form.window);
    language.TranslateForm("PROCESS", &form.window);
    const auto& keys = language.keys;
    const auto has = [&](const char* key) {
      return std::find(keys.begin(), keys.end(), key) != keys.end();
    };
    QVERIFY(has("Fim1") && has("Label1") && has("Button1") && has("TabSheet1"));
    // The form itself, unnamed components and Qt's internal parts are not components.
    QVERIFY(!has("frmTest") && !has(""));
    for (const auto& key : keys) {
      QVERIFY2(key.rfind("qt_", 0) != 0, key.c_str());
    }
    // Parents come before what they hold, in creation order.
    const auto at = [&](const char* key) { return std::find(keys.begin(), keys.end(), key); };
    QVERIFY(at("Label1") < at("Button1"));
    QVERIFY(at("Button1") < at("CheckBox1"));
  }
};

}  // namespace kelpa

QTEST_MAIN(kelpa::LanguageTest)
#include "language_test.moc"
