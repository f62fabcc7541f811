// SPDX-License-Identifier: MIT
// The whole simulator started for real with its files made unusable: a settings file that cannot
// be written, a log file that cannot be created or stops taking writes mid-run, and settings files
// that are garbage or huge. Every failure is reported or survived; start-up finishes, the log view
// keeps receiving lines and the simulation keeps running.
//
// The tests run as root, so file permissions would not stop a write. The failures are made in ways
// that stop root too: a folder where a file must go, a current folder that has been removed, and
// a file-size limit (RLIMIT_FSIZE) for a write that fails part-way through a run.
#include <sys/resource.h>
#include <sys/stat.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextEdit>
#include <QToolButton>
#include <QtTest>
#include <csignal>
#include <filesystem>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <vector>

#include "catalogue/fill_in.h"
#include "catalogue/messages.h"
#include "console_handle.h"
#include "gui/console/console_window.h"
#include "gui/console/log_window.h"
#include "gui/processor/scheduling_options_window.h"
#include "platform/datetime.h"
#include "platform/error_reporter.h"
#include "platform/ini_file.h"
#include "session/log_writer.h"
#include "simulation/simulation.h"

using namespace kelpa;

namespace {

class RecordingReporter final : public IErrorReporter {
 public:
  void ShowError(const std::string& message) override {
    Messages << QString::fromStdString(message);
  }
  QStringList Messages;
};

// The console started as the program starts it, with the splash over at once, the dialogs
// recorded and the simulation paced fast.
struct Program {
  Program() {
    TConsoleHooks hooks;
    hooks.Reporter = &reporter;
    form = ConsoleHandle::Started(std::move(hooks));
    form->Sim().HClock.Period = 5;
    form->Sim().HClock.PeriodChanged();
    form->Sim().Espera.SleepMs = 5;
  }

  // The view once it has taken every line logged so far.
  QStringList ViewLines() const {
    form->Log()->Flush();
    QCoreApplication::sendPostedEvents(form->LogWindow(), QEvent::MetaCall);
    auto* view = form->LogWindow()->findChild<QTextEdit*>("memLog");
    return view->toPlainText().split('\n', Qt::SkipEmptyParts);
  }

  // True once a new process has reached the processor and the view has shown it happen.
  bool RunsAProcess() {
    Simulation& sim = form->Sim();
    {
      std::lock_guard lock(sim.Lock);
      sim.Kernel.AddProcess(TProcesso::Create(sim, 0, 4, 5, 0x00FF00));
    }
    const QString dispatched = QString::fromStdString(sim.Msg.MsgLogProntoExec);
    return QTest::qWaitFor([&] { return !ViewLines().filter(dispatched).isEmpty(); }, 60000);
  }

  bool StartUpFinished() const {
    return ViewLines().filter(QString::fromStdString(form->Msg().MsgLogProntoAs)).size() == 1;
  }

  RecordingReporter reporter;
  ConsoleHandle form;
};

Tfrm_Opt* OptionsWindow() {
  for (QWidget* widget : QApplication::topLevelWidgets()) {
    if (auto* options = qobject_cast<Tfrm_Opt*>(widget)) {
      return options;
    }
  }
  return nullptr;
}

// Names the log file can take if the program starts now: this minute's and the next one's.
QStringList LogFileNamesForNow() {
  const TDateTime now = SystemClock().Now();
  QStringList names;
  for (const TDateTime at : {now, now + 1.0 / 1440}) {
    names << QString::fromStdString("log" + FormatMonthDayHourMinute(at) + ".txt");
  }
  return names;
}

QByteArray ReadAll(const QString& name) {
  QFile file(name);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteAll(const QString& name, const QByteArray& bytes) {
  QFile file(name);
  QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  QCOMPARE(file.write(bytes), bytes.size());
}

// One stamp, then text without line breaks and without a second stamped line run into it.
const QRegularExpression kWholeLine(
    "^\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d : (?!.*\\d\\d:\\d\\d:\\d\\d:\\d\\d\\d : )[^\r\n]*$");

// Sets the limit on the size of files this process writes; writes past it fail.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    // Past the limit a write fails with EFBIG instead of killing the process.
    previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limit);
  }
  ~FileSizeLimit() { Lift(); }
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;

  void Lift() {
    if (!lifted_) {
      lifted_ = true;
      setrlimit(RLIMIT_FSIZE, &saved_);
      std::signal(SIGXFSZ, previousHandler_);
    }
  }

 private:
  rlimit saved_{};
  void (*previousHandler_)(int) = SIG_DFL;
  bool lifted_ = false;
};

}  // namespace

class FaultInjectionTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    folder_ = std::make_unique<QTemporaryDir>();
    QVERIFY(folder_->isValid());
    QVERIFY(QDir::setCurrent(folder_->path()));
  }

  void cleanup() {
    QDir::setCurrent(QDir::tempPath());
    folder_.reset();
  }

  // A folder or a named pipe called kelpa.ini is no settings file and is never replaced by one
  // (nor read: a pipe would block start-up for ever). Start-up reports that the file cannot be
  // written and goes on with the built-in values; "Confirmar" reports it again, keeps its window
  // open and the new values in force.
  void settingsFileThatCannotBeWritten_data() {
    QTest::addColumn<bool>("pipe");
    QTest::newRow("folder") << false;
    QTest::newRow("named pipe") << true;
  }

  void settingsFileThatCannotBeWritten() {
    QFETCH(bool, pipe);
    QVERIFY(pipe ? mkfifo("kelpa.ini", 0644) == 0 : QDir().mkdir("kelpa.ini"));
    Program program;
    const QString failure = QString::fromStdString("Unable to write to " + KelpaIniPath());
    QCOMPARE(program.reporter.Messages, QStringList{failure});
    QVERIFY(program.StartUpFinished());
    Simulation& sim = program.form->Sim();
    QVERIFY(sim.Settings.PreemptionEnabled && sim.Settings.DynamicPriorityEnabled);
    QCOMPARE(sim.Settings.RealTimeThreshold.load(), 8);

    Tfrm_Opt* options = OptionsWindow();
    QVERIFY(options);
    options->show();
    options->findChild<QCheckBox*>("CheckBox1")->setChecked(false);
    options->findChild<QToolButton*>("SpeedButton1")->click();
    QCOMPARE(program.reporter.Messages, QStringList({failure, failure}));
    QVERIFY(options->isVisible());
    QVERIFY(!sim.Settings.PreemptionEnabled);
    QCOMPARE(std::filesystem::status("kelpa.ini").type(),
             pipe ? std::filesystem::file_type::fifo : std::filesystem::file_type::directory);
    QVERIFY(program.RunsAProcess());
  }

  // A removed current folder takes both files: neither can be created, both failures are
  // reported, and the program runs on with the built-in values and a log view only.
  void currentFolderRemoved() {
    QVERIFY(QDir().mkdir("gone"));
    QVERIFY(QDir::setCurrent("gone"));
    QVERIFY(QDir(folder_->path()).rmdir("gone"));
    Program program;
    QCOMPARE(program.reporter.Messages.size(), 2);
    QVERIFY2(program.reporter.Messages[0].startsWith(
                 QString::fromStdString(FillIn(TMessages().MsgLogNaoCriado, {"log"}))),
             qPrintable(program.reporter.Messages[0]));
    QCOMPARE(program.reporter.Messages[1], QString("Unable to write to kelpa.ini"));
    QVERIFY(program.StartUpFinished());
    QVERIFY(program.RunsAProcess());
  }

  // A folder named like the log file: the failure is reported, and the view and the simulation
  // carry on without a file.
  void logFileThatCannotBeCreated() {
    for (const QString& name : LogFileNamesForNow()) {
      QVERIFY(QDir().mkdir(name));
    }
    Program program;
    const QString path = QDir::current().absoluteFilePath(
        QString::fromStdString(program.form->LogWindow()->FileName()));
    QCOMPARE(program.reporter.Messages, QStringList{QString::fromStdString(FillIn(
                                            TMessages().MsgLogNaoCriado, {path.toStdString()}))});
    QVERIFY(program.StartUpFinished());
    QVERIFY(program.RunsAProcess());
    QVERIFY(QFileInfo(path).isDir());
  }

  // The log file stops taking writes part-way through a run (the file-size limit stands for a
  // full disk). Lines logged meanwhile still reach the view and the simulation keeps running;
  // once writing works again the file goes on, and every line in it is whole.
  void logWriteFailsMidRun() {
    Program program;
    QVERIFY(program.reporter.Messages.isEmpty());
    const QString name = QString::fromStdString(program.form->LogWindow()->FileName());
    const QStringList before = QString::fromUtf8(ReadAll(name)).split("\r\n", Qt::SkipEmptyParts);
    {
      // Room for part of one more line only.
      const qint64 room = QFileInfo(name).size() + 20;
      FileSizeLimit limit(static_cast<rlim_t>(room));
      QVERIFY(program.RunsAProcess());
      QVERIFY(QFileInfo(name).size() <= room);
    }
    program.form->findChild<QAction*>("Fim1")->trigger();
    QVERIFY(QTest::qWaitFor(
        [&] { return !program.ViewLines().filter("Kelpa desativado as ").isEmpty(); }));
    const QStringList viewed = program.ViewLines();
    program.form.reset();

    const QByteArray bytes = ReadAll(name);
    QVERIFY(bytes.endsWith("\r\n"));
    const QStringList lines = QString::fromUtf8(bytes).split("\r\n");
    for (const QString& line : lines.mid(0, lines.size() - 1)) {
      QVERIFY2(kWholeLine.match(line).hasMatch(), qPrintable(line));
    }
    QCOMPARE(lines.mid(0, before.size()), before);
    QVERIFY2(lines[lines.size() - 2].contains("Kelpa desativado as "),
             qPrintable(lines[lines.size() - 2]));
    // The lines logged while the file refused them are missing from it, not from the view.
    QVERIFY(lines.size() - 1 < viewed.size());
    for (const QString& line : lines.mid(0, lines.size() - 1)) {
      QVERIFY2(viewed.contains(line), qPrintable(line));
    }
  }

  // Settings files that cannot be read: start-up takes the built-in value of everything it cannot
  // read, reads what it can, leaves the file alone and runs. A file too large or in UTF-16 is not
  // read at all, and start-up says why.
  void malformedSettingsFile_data() {
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<int>("threshold");
    QTest::addColumn<QString>("unread");  // why the file is not read; empty when it is
    std::mt19937 random(20240607);
    QByteArray garbage((1 << 20) - 100, '\0');
    for (char& byte : garbage) {
      byte = static_cast<char>(random() & 0xFF);
    }
    QByteArray sections;
    for (int i = 0; i < 5000; ++i) {
      sections += "[S" + QByteArray::number(i) + "]\r\nK=" + QByteArray::number(i) + "\r\n";
    }
    const QString tooLarge = QString::fromStdString(TMessages().MsgCenArquivoGrande);
    QTest::newRow("binary garbage") << garbage << 8 << QString();
    QTest::newRow("a 10 MB line") << "[GLOBAL]\r\nTEMPO_REAL=" + QByteArray(10 << 20, '7') << 8
                                  << tooLarge;
    QTest::newRow("10 MB of blank lines")
        << "[GLOBAL]\r\nTEMPO_REAL=3\r\n" + QByteArray(10 << 20, '\n') << 8 << tooLarge;
    QTest::newRow("thousands of sections")
        << sections + "[GLOBAL]\r\nPREEMPCAO=yes\r\nTEMPO_REAL=0x5\r\n" + sections << 5
        << QString();
    QTest::newRow("settings after garbage") << garbage + "\n[GLOBAL]\nTEMPO_REAL=3\n"
                                            << 3 << QString();
    QByteArray utf16("\xFF\xFE", 2);
    for (const char c : QByteArray("[GLOBAL]\r\nTEMPO_REAL=3\r\n")) {
      utf16 += c;
      utf16 += '\0';
    }
    QTest::newRow("UTF-16") << utf16 << 8 << QString::fromStdString(TMessages().MsgCenArquivoUtf16);
    QTest::newRow("lowest integer")
        << QByteArray("[GLOBAL]\r\nTEMPO_REAL=-2147483648\r\n") << 0 << QString();
  }

  void malformedSettingsFile() {
    QFETCH(QByteArray, contents);
    QFETCH(int, threshold);
    QFETCH(QString, unread);
    WriteAll("kelpa.ini", contents);
    Program program;
    const QString path = QString::fromStdString(KelpaIniPath());
    const QStringList expected =
        unread.isEmpty() ? QStringList()
                         : QStringList{QString::fromStdString(FillIn(
                               TMessages().MsgIniNaoLido, {KelpaIniPath(), unread.toStdString()}))};
    QCOMPARE(program.reporter.Messages, expected);
    QVERIFY(program.StartUpFinished());
    Simulation& sim = program.form->Sim();
    QVERIFY(sim.Settings.PreemptionEnabled && sim.Settings.DynamicPriorityEnabled);
    QCOMPARE(sim.Settings.RealTimeThreshold.load(), threshold);
    QCOMPARE(ReadAll("kelpa.ini"), contents);
    QVERIFY(program.RunsAProcess());
  }

 private:
  std::unique_ptr<QTemporaryDir> folder_;
};

QTEST_MAIN(FaultInjectionTest)
#include "fault_injection_test.moc"
