// SPDX-License-Identifier: MIT
// The process list: one grid row per live process, refreshed every second, and the buttons that
// suspend, resume, terminate, re-prioritise a process or open the PCB window on it. Created when
// opened, released when closed; it closes itself when no process is left.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "simulation/hand_action.h"

class QPushButton;
class QTableWidget;
class QTimer;

namespace kelpa {

class TLanguage;
class Simulation;
class TPCB;

class TfrmAlteraProcessos : public QWidget {
  Q_OBJECT
 public:
  TfrmAlteraProcessos(Simulation& sim, TPCB& pcb, TLanguage* language = nullptr,
                      QWidget* parent = nullptr);
  ~TfrmAlteraProcessos() override;

  // Process-table index chosen with "PCB".
  int SelectedIndex = 0;

  // Asks for a text (title, prompt, initial text); none when the box was cancelled. Defaults to
  // the platform's input box; tests replace it.
  std::function<std::optional<QString>(const QString& title, const QString& prompt,
                                       const QString& initial)>
      AskText;
  // Shows a message box with the given text. Defaults to the platform's message box.
  std::function<void(const QString& text)> ShowMessage;

  void Timer1Timer();
  void Button1Click();  // priority
  void Button2Click();  // terminate
  void Button3Click();  // suspend
  void Button4Click();  // resume
  void Button5Click();  // PCB

 signals:
  // The window closed and is about to be released.
  void released();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  void RefreshRows();
  int SelectedRow() const;
  // Takes the request of the selected row's process, if there is one, and tells it as done by
  // hand.
  void RequestOfSelected(HandActionKind kind);
  void ChangePriority();

  Simulation& sim_;
  TPCB& pcb_;
  QTableWidget* stg1 = nullptr;
  QTimer* Timer1 = nullptr;
  bool dialogOpen_ = false;
  bool released_ = false;
};

}  // namespace kelpa
