// SPDX-License-Identifier: MIT
// SIGTERM, SIGINT and SIGHUP (the desktop session ending, `kill`, a terminal's Ctrl+C or hang-up)
// end the program the way "Fim" does, so the log still gets its shutdown line. A signal handler
// may do next to nothing: it writes the signal's number into a pipe, and a socket notifier reads
// the pipe on the user-interface thread, where the shutdown can run.
#pragma once

#include <QObject>
#include <array>
#include <csignal>
#include <functional>

class QSocketNotifier;

namespace kelpa {

class TForm1;

class TerminationSignals : public QObject {
 public:
  static constexpr std::array<int, 3> kSignals = {SIGTERM, SIGINT, SIGHUP};

  // Installs the handlers; `onSignal` runs on this object's thread once for every batch of
  // signals read from the pipe. A signal that the parent process set to be ignored (nohup, a
  // background job) stays ignored. Only one instance handles signals at a time.
  explicit TerminationSignals(std::function<void()> onSignal, QObject* parent = nullptr);
  // Puts the previous handlers back.
  ~TerminationSignals() override;
  TerminationSignals(const TerminationSignals&) = delete;
  TerminationSignals& operator=(const TerminationSignals&) = delete;

  bool Handles(int signal) const;

 private:
  void Install();
  void ReadPipe();

  std::function<void()> onSignal_;
  std::array<int, 2> pipe_ = {-1, -1};
  std::array<bool, kSignals.size()> installed_{};
  std::array<struct sigaction, kSignals.size()> previous_{};
  QSocketNotifier* notifier_ = nullptr;
};

// The program entry's one call: the signals choose "Fim" on the console, unless it has already
// shut down.
void EndOnTerminationSignals(TForm1& console);

}  // namespace kelpa
