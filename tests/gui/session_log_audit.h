// SPDX-License-Identifier: MIT
// Reads the log file of a whole session and checks it line by line: the stamp and line ends of
// every line, the start-up and shutdown lines, the vocabulary of the texts, and for every process
// the order in which its events can happen (a process is dispatched only when it is neither on the
// processor nor swapped out, leaves the processor only from it, has its page fault served before
// it runs again, is swapped in only after it was swapped out, and ends on the processor with its
// two times on the next line). What the audit counts is left for the test to compare with the
// simulation's counters.
#pragma once

#include <QByteArray>
#include <QRegularExpression>
#include <QString>
#include <QStringDecoder>
#include <QStringList>
#include <map>

namespace kelpa::acceptance {

// What a process did, as its log lines tell it.
struct ProcessTrack {
  enum Leave { None, IO, Fault, Suspension };

  bool Allocated = false;
  bool Created = false;
  bool Running = false;
  bool Out = false;
  bool SwappingIn = false;
  bool AwaitsDispatch = false;
  bool Ended = false;
  bool ReleasedAtEnd = false;
  Leave LastLeave = None;
  int PendingFault = -1;
  QList<int> PagesAtCreation;  // pages loaded before " criado"
  QString AfterFirstDispatch;  // the process's first event after its first dispatch
  int Dispatches = 0;
  int IOs = 0;
  int Faults = 0;
  int Suspensions = 0;
  int OutSwaps = 0;
  int SwapIns = 0;
  int SwapInsAfterReadyOut = 0;
  bool LastOutWasReady = false;
};

class SessionLogAudit {
 public:
  explicit SessionLogAudit(const QByteArray& bytes) {
    if (!ReadLines(bytes)) {
      return;
    }
    CheckStartAndEnd();
    for (int i = 0; i < Texts.size(); ++i) {
      Follow(i);
    }
  }

  QStringList Errors;                     // every violation, with its line number
  QStringList Texts;                      // the text of each line, after the stamp
  std::map<int, ProcessTrack> Processes;  // by PID
  QList<int> RefusedPids;                 // "Erro: criacao do processo <pid>. Falta ..."
  QList<int> FreeShareLines;              // the per cent of each "Lista de pags livres menor que"

  // Lines whose text contains the fragment.
  int Count(const QString& fragment) const {
    int count = 0;
    for (const QString& text : Texts) {
      count += text.contains(fragment) ? 1 : 0;
    }
    return count;
  }

 private:
  static constexpr const char* kStamp = R"((\d\d):([0-5]\d):([0-5]\d):(\d\d\d))";

  void Fail(int index, const QString& why) {
    if (Errors.size() < 25) {
      Errors << QStringLiteral("line %1: %2: \"%3\"").arg(index + 1).arg(why, Texts.value(index));
    }
  }

  bool ReadLines(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString all = utf8.decode(bytes);
    if (utf8.hasError()) {
      Errors << QStringLiteral("the file is not UTF-8");
      return false;
    }
    if (!all.endsWith(QStringLiteral("\r\n"))) {
      Errors << QStringLiteral("the file does not end with CRLF");
      return false;
    }
    QStringList lines = all.split(QStringLiteral("\r\n"));
    lines.removeLast();
    const QRegularExpression stamped(QStringLiteral("^%1 : (.*)$").arg(kStamp));
    for (int i = 0; i < lines.size(); ++i) {
      const QRegularExpressionMatch match = stamped.match(lines[i]);
      Texts << (match.hasMatch() ? match.captured(5) : lines[i]);
      if (lines[i].contains(QLatin1Char('\r')) || lines[i].contains(QLatin1Char('\n'))) {
        Fail(i, QStringLiteral("a line end other than CRLF"));
      } else if (!match.hasMatch() || match.captured(1).toInt() > 23) {
        Fail(i, QStringLiteral("not \"hh:nn:ss:zzz : text\""));
      }
    }
    return !Texts.isEmpty();
  }

  void CheckStartAndEnd() {
    const QRegularExpression ready(QStringLiteral("^Kelpa pronto as  %1$").arg(kStamp));
    const QRegularExpression off(QStringLiteral("^Kelpa desativado as  %1$").arg(kStamp));
    if (Texts.first() != QStringLiteral("Inicializando Kelpa ...")) {
      Fail(0, QStringLiteral("the first line is not the start-up line"));
    }
    if (!off.match(Texts.last()).hasMatch()) {
      Fail(static_cast<int>(Texts.size()) - 1,
           QStringLiteral("the last line is not the shutdown line"));
    }
    int readyLines = 0;
    int offLines = 0;
    bool processBeforeReady = false;
    for (const QString& text : Texts) {
      readyLines += ready.match(text).hasMatch() ? 1 : 0;
      offLines += text.startsWith(QStringLiteral("Kelpa desativado as ")) ? 1 : 0;
      processBeforeReady |= readyLines == 0 && text.startsWith(QStringLiteral("Processo "));
    }
    if (readyLines != 1 || offLines != 1 || processBeforeReady) {
      Errors << QStringLiteral("%1 ready lines, %2 shutdown lines, process before ready: %3")
                    .arg(readyLines)
                    .arg(offLines)
                    .arg(processBeforeReady);
    }
  }

  void Follow(int i) {
    static const QRegularExpression process(QStringLiteral("^Processo (\\d+)( .*)$"));
    const QRegularExpressionMatch match = process.match(Texts[i]);
    if (match.hasMatch()) {
      FollowProcess(i, match.captured(1).toInt(), match.captured(2));
    } else {
      FollowSystemLine(i);
    }
  }

  void FollowSystemLine(int i) {
    static const QRegularExpression times(
        QStringLiteral("^Tempo de UCP: %1 Tempo decorrido: %1$").arg(kStamp));
    static const QRegularExpression refused(
        QStringLiteral("^Erro: criacao do processo (\\d+)\\. Falta de espaco no PF$"));
    static const QRegularExpression share(
        QStringLiteral("^Lista de pags livres menor que (\\d+)%$"));
    const QString& text = Texts[i];
    if (times.match(text).hasMatch()) {
      if (i == 0 || !Texts[i - 1].endsWith(QStringLiteral(" eliminado"))) {
        Fail(i, QStringLiteral("times without an ended process before them"));
      }
    } else if (const QRegularExpressionMatch m = refused.match(text); m.hasMatch()) {
      RefusedPids << m.captured(1).toInt();
    } else if (const QRegularExpressionMatch m = share.match(text); m.hasMatch()) {
      FreeShareLines << m.captured(1).toInt();
    } else if (text != QStringLiteral("Iniciando Swap") &&
               text != QStringLiteral("Gravando lista de páginas modificadas no pagefile") &&
               !text.startsWith(QStringLiteral("Kelpa pronto as  ")) &&
               !text.startsWith(QStringLiteral("Kelpa desativado as  ")) &&
               !(i == 0 && text == QStringLiteral("Inicializando Kelpa ..."))) {
      Fail(i, QStringLiteral("unknown line"));
    }
  }

  // The page named at the end of a page event (" HwPF - Imagem 3"), or -1 for another event.
  static int PageOf(const QString& event, const QString& name) {
    static const QRegularExpression page(QStringLiteral("^ (.*) ([0-4])$"));
    const QRegularExpressionMatch match = page.match(event);
    return match.hasMatch() && match.captured(1) == name ? match.captured(2).toInt() : -1;
  }

  static bool IsPageService(const QString& event, int& page) {
    for (const char* name : {"HwPF - Imagem", "SwPF - LPL", "SwPF - LPM", "HwPF - Pagefile",
                             "sem frame livre para a pagina"}) {
      page = PageOf(event, QString::fromUtf8(name));
      if (page >= 0) {
        return true;
      }
    }
    return false;
  }

  void FollowProcess(int i, int pid, const QString& event) {
    ProcessTrack& p = Processes[pid];
    if (p.Ended) {
      FollowAfterEnd(i, p, event);
      return;
    }
    if (!p.Created) {
      FollowCreation(i, p, event);
      return;
    }
    if (p.SwappingIn) {
      FollowSwapIn(i, p, event);
      return;
    }
    if (p.AwaitsDispatch && event != QStringLiteral(" Pronto -> Exec ")) {
      Fail(i, QStringLiteral("a swap-in not followed by the dispatch"));
    }
    if (p.Dispatches > 0 && p.AfterFirstDispatch.isNull()) {
      p.AfterFirstDispatch = event;
    }
    if (FollowProcessorEvent(i, p, event) || FollowMemoryEvent(i, p, event)) {
      return;
    }
    if (event.startsWith(QStringLiteral(" Aumento de prioridade +")) ||
        event.startsWith(QStringLiteral(" nao pode ter inc acima de "))) {
      if (p.Running) {
        Fail(i, QStringLiteral("a priority raise on the processor"));
      }
      return;
    }
    Fail(i, QStringLiteral("unknown or misplaced process event"));
  }

  void FollowCreation(int i, ProcessTrack& p, const QString& event) {
    int page = -1;
    if (event == QStringLiteral(" alocacao de blocos no pagefile")) {
      if (p.Allocated) {
        Fail(i, QStringLiteral("a second reservation"));
      }
      p.Allocated = true;
    } else if (!p.Allocated) {
      Fail(i, QStringLiteral("an event before the page-file reservation"));
    } else if (event == QStringLiteral(" criado")) {
      p.Created = true;
    } else if ((page = PageOf(event, QStringLiteral("HwPF - Imagem"))) >= 0) {
      p.PagesAtCreation << page;
    } else {
      Fail(i, QStringLiteral("an event before \" criado\""));
    }
  }

  void FollowSwapIn(int i, ProcessTrack& p, const QString& event) {
    if (event == QStringLiteral(" liberando pagefile alocado")) {
      p.SwappingIn = false;
      p.AwaitsDispatch = true;
    } else if (PageOf(event, QStringLiteral("HwPF - Pagefile")) < 0 &&
               PageOf(event, QStringLiteral("sem frame livre para a pagina")) < 0) {
      Fail(i, QStringLiteral("an event inside a swap-in"));
    }
  }

  void FollowAfterEnd(int i, ProcessTrack& p, const QString& event) {
    if (event == QStringLiteral(" liberando pagefile reservado") && !p.ReleasedAtEnd) {
      p.ReleasedAtEnd = true;
    } else {
      Fail(i, QStringLiteral("an event after the process ended"));
    }
  }

  bool LeaveProcessor(int i, ProcessTrack& p, ProcessTrack::Leave why) {
    if (!p.Running) {
      Fail(i, QStringLiteral("leaves the processor without being on it"));
    }
    p.Running = false;
    p.LastLeave = why;
    return true;
  }

  bool FollowProcessorEvent(int i, ProcessTrack& p, const QString& event) {
    if (event == QStringLiteral(" Pronto -> Exec ")) {
      if (p.Running || p.Out || p.PendingFault >= 0) {
        Fail(i, QStringLiteral("dispatched while running, swapped out or waiting for a page"));
      }
      p.Running = true;
      p.AwaitsDispatch = false;
      p.LastLeave = ProcessTrack::None;
      ++p.Dispatches;
      return true;
    }
    if (event == QStringLiteral(" Executando -> IO ")) {
      ++p.IOs;
      return LeaveProcessor(i, p, ProcessTrack::IO);
    }
    if (const int page = PageOf(event, QStringLiteral("Exec -> Page Fault")); page >= 0) {
      ++p.Faults;
      LeaveProcessor(i, p, ProcessTrack::Fault);
      p.PendingFault = page;
      return true;
    }
    if (event == QStringLiteral(" Executando -> Suspenso")) {
      ++p.Suspensions;
      return LeaveProcessor(i, p, ProcessTrack::Suspension);
    }
    if (event == QStringLiteral(" Executando -> Pronto por prioridade ") ||
        event == QStringLiteral(" Executando -> Pronto por tempo ")) {
      return LeaveProcessor(i, p, ProcessTrack::None);
    }
    if (event == QStringLiteral(" eliminado")) {
      LeaveProcessor(i, p, ProcessTrack::None);
      p.Ended = true;
      CheckTimes(i + 1);
      return true;
    }
    return false;
  }

  // The line after " eliminado": both times, the processor time within the elapsed time.
  void CheckTimes(int i) {
    static const QRegularExpression times(
        QStringLiteral("^Tempo de UCP: %1 Tempo decorrido: %1$").arg(kStamp));
    const QRegularExpressionMatch match = times.match(Texts.value(i));
    if (!match.hasMatch()) {
      Fail(i, QStringLiteral("no times right after \" eliminado\""));
      return;
    }
    const auto ms = [&match](int first) {
      return ((match.captured(first).toLongLong() * 60 + match.captured(first + 1).toLongLong()) *
                  60 +
              match.captured(first + 2).toLongLong()) *
                 1000 +
             match.captured(first + 3).toLongLong();
    };
    if (ms(1) > ms(5)) {
      Fail(i, QStringLiteral("more processor time than elapsed time"));
    }
  }

  bool FollowMemoryEvent(int i, ProcessTrack& p, const QString& event) {
    static const QMap<QString, ProcessTrack::Leave> outswaps = {
        {QStringLiteral(" suspenso outswapped"), ProcessTrack::Suspension},
        {QStringLiteral(" IO outswapped"), ProcessTrack::IO},
        {QStringLiteral(" page fault outswapped"), ProcessTrack::Fault},
        {QStringLiteral(" pronto outswapped"), ProcessTrack::None}};
    if (outswaps.contains(event)) {
      const ProcessTrack::Leave wanted = outswaps.value(event);
      if (p.Running || p.Out || (wanted != ProcessTrack::None && p.LastLeave != wanted)) {
        Fail(i, QStringLiteral("swapped out in the wrong state"));
      }
      p.Out = true;
      p.LastOutWasReady = wanted == ProcessTrack::None;
      p.PendingFault = -1;
      ++p.OutSwaps;
      return true;
    }
    if (event == QStringLiteral(" swap in")) {
      if (!p.Out) {
        Fail(i, QStringLiteral("a swap-in without a swap-out"));
      }
      p.SwapInsAfterReadyOut += p.Out && p.LastOutWasReady ? 1 : 0;
      p.Out = false;
      p.SwappingIn = true;
      ++p.SwapIns;
      return true;
    }
    if (int page = -1; IsPageService(event, page)) {
      if (p.Running || p.PendingFault != page) {
        Fail(i, QStringLiteral("a page served without a fault waiting for it"));
      }
      p.PendingFault = -1;
      return true;
    }
    return false;
  }
};

}  // namespace kelpa::acceptance
