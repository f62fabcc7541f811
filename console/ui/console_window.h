// The console: the program's main window. Its creation (FormCreate) is the start-up of the whole
// simulator; its menu opens every other window, its one button stops and restarts the simulation,
// and closing it shuts the simulation down.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "console/error_reporter.h"
#include "core/clock.h"
#include "i18n/messages.h"

class QAction;
class QCloseEvent;
class QLabel;
class QMenu;
class QTimer;
class QToolButton;

namespace kelpa {

class MessageBoxReporter;
class QtDisplay;
class Simulation;
class TEstatisticas;
class TForm2;
class TPCB;
class TfrmAlteraProcessos;
class TfrmCreditos;
class TfrmGP;
class TfrmHelp;
class TLanguage;
class TLogWriter;
class TfrmLog;
class TfrmMemoVirt;
class TfrmPageFile;
class Tfrm_Opt;
class Tfrm_Opt_MV;
enum class SettingsMode : int;

// What a test may replace: the length of the start-up splash and the ways the console talks to
// the user. Defaults are the real program's.
struct TConsoleHooks {
  int SplashMs = 5000;
  // Reports settings-file and log-file errors; null means message boxes.
  IErrorReporter* Reporter = nullptr;
  // Shows an information text; null means a message box.
  std::function<void(const QString&)> ShowMessage;
  // Null means QApplication::beep.
  std::function<void()> Beep;
  // Called once the console has closed and the simulation has stopped (the program entry quits).
  std::function<void()> OnFinished;
};

class TForm1 : public QMainWindow {
 public:
  explicit TForm1(TConsoleHooks hooks = {});
  ~TForm1() override;
  TForm1(const TForm1&) = delete;
  TForm1& operator=(const TForm1&) = delete;

  // The start-up sequence: log, catalogue, settings, translation, the simulation and its windows,
  // the threads, then the credits until the splash ends.
  void FormCreate();
  // The windows the program entry creates after the console, in its order.
  void CreateProcessWindows();

  // Load reads the scheduling settings (or writes the defaults when the file is missing), Save
  // saves them; false only when a write failed (already reported).
  bool SaveLoadSettings(SettingsMode mode);
  void CarregaLinguagem();

  void Criar1Click();
  void Selecionar1Click();
  void Log1Click();
  void Memriaprincipal1Click();
  void Escalonador1Click();
  void Estatsticas1Click();
  void Crditos1Click();
  void Help1Click();
  void Fim1Click();
  void SpeedButton1Click();
  void Timer1Timer();
  void Timer2Timer();

  // Stops the display, ends the simulation's threads and waits for them. Safe to call again.
  void Shutdown();
  // True once the console has shut down, which can happen before start-up has finished.
  bool IsShutDown() const { return shutDown_; }

  bool SimulationRunning = true;

  Simulation& Sim() const { return *sim_; }
  const TMessages& Msg() const { return msg_; }
  TfrmLog* LogWindow() const { return log_.get(); }
  TLogWriter* Log() const { return logWriter_.get(); }
  TfrmGP* ProcessorWindow() const { return gp_.get(); }
  TfrmMemoVirt* MemoryWindow() const { return memory_.get(); }
  TfrmPageFile* PageFileWindow() const { return pageFile_.get(); }
  TfrmCreditos* CreditsWindow() const { return credits_.get(); }
  TEstatisticas* StatisticsWindow() const { return statistics_.get(); }
  TfrmHelp* HelpWindow() const { return help_.get(); }
  TfrmAlteraProcessos* ProcessListWindow() const;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildStrip();
  void BuildMenu();
  QAction* AddItem(QMenu* menu, const char* name, const QString& caption, void (TForm1::*slot)());
  QAction* AddToggle(QMenu* menu, const char* name, const QString& caption, bool checked,
                     void (TForm1::*slot)());
  void Toggle(QWidget* window, QAction* item);
  void CreateSimulationWindows();
  void ShowSplashEnd();
  void LogSystemLine(const std::string& text);
  std::string TimeNow() const;

  TConsoleHooks hooks_;
  SystemClock clock_;
  TMessages msg_;
  // The language loader of every window that translates itself; outlives them all.
  std::unique_ptr<TLanguage> language_;
  std::unique_ptr<MessageBoxReporter> boxReporter_;
  IErrorReporter* reporter_ = nullptr;

  // Declared so that destruction runs windows first, then the simulation (whose threads are
  // already joined by then), then the display and the log the threads reported to.
  std::unique_ptr<TLogWriter> logWriter_;
  std::unique_ptr<TfrmLog> log_;
  std::unique_ptr<QtDisplay> display_;
  std::unique_ptr<Simulation> sim_;
  std::unique_ptr<Tfrm_Opt> opt_;
  std::unique_ptr<TfrmGP> gp_;
  std::unique_ptr<TfrmMemoVirt> memory_;
  std::unique_ptr<TfrmPageFile> pageFile_;
  std::unique_ptr<TfrmCreditos> credits_;
  std::unique_ptr<TForm2> creation_;
  std::unique_ptr<TEstatisticas> statistics_;
  std::unique_ptr<Tfrm_Opt_MV> memoryOptions_;
  std::unique_ptr<TfrmHelp> help_;
  std::unique_ptr<TPCB> pcb_;
  QPointer<TfrmAlteraProcessos> list_;

  QLabel* Image1 = nullptr;
  QLabel* Image2 = nullptr;
  QToolButton* SpeedButton1 = nullptr;
  QLabel* StaticText1 = nullptr;
  QAction* Log1 = nullptr;
  QAction* Memriaprincipal1 = nullptr;
  QAction* Escalonador1 = nullptr;
  QAction* Estatsticas1 = nullptr;
  QTimer* Timer1 = nullptr;
  QTimer* Timer2 = nullptr;

  bool splashOver_ = false;
  bool shutDown_ = false;
};

}  // namespace kelpa
