// SPDX-License-Identifier: MIT
#include <string>

#include "catalogue/fill_in.h"
#include "catalogue/messages.h"
#include "simulation/process.h"
#include "simulation/sim_event.h"

namespace kelpa {
namespace {

std::string Pid(const SimEvent& e) {
  return std::to_string(e.Pid);
}

// Most process lines: the catalogue's "Processo " prefix, the identifier and the event's text.
std::string ProcessLine(const SimEvent& e, const TMessages& msg, const std::string& text) {
  return msg.MsgLogProcesso + Pid(e) + text;
}

std::string PageLine(const SimEvent& e, const TMessages& msg, const std::string& text) {
  return ProcessLine(e, msg, text + std::to_string(e.Page));
}

// The raise after a page-fault wait and the caps begin with a fixed word, not with the
// catalogue's process prefix: translated logs have always shown them so.
std::string FixedPrefixLine(const SimEvent& e, const std::string& text) {
  return "Processo " + Pid(e) + text;
}

const std::string& OutswappedText(const SimEvent& e, const TMessages& msg) {
  switch (e.From) {
    case psSuspended:
      return msg.MsgLogSuspensoOutswapped;
    case psIO:
      return msg.MsgLogIOOutswapped;
    case psPageFault:
      return msg.MsgLogPageFaultOutswapped;
    default:
      return msg.MsgLogProntoOutswapped;
  }
}

// The replacing policy's rule, in the order of ReplacementPolicy.
const std::string& ReplacementRule(const SimEvent& e, const TMessages& msg) {
  switch (e.Value) {
    case 1:
      return msg.MsgLogRegraLRU;
    case 2:
      return msg.MsgLogRegraSegundaChance;
    default:
      return msg.MsgLogRegraOtima;
  }
}

}  // namespace

std::optional<std::string> EventLine(const SimEvent& e, const TMessages& msg) {
  switch (e.Kind) {
    case EventKind::StateChanged:
    case EventKind::OptionChanged:
    case EventKind::HandActionTaken:
    case EventKind::TickEnded:
      return std::nullopt;
    case EventKind::Created:
      return ProcessLine(e, msg, msg.MsgLogCriado);
    case EventKind::CreationFailed:
      return msg.MsgLogErroCriacao + Pid(e) + msg.MsgLogFaltaEspacoPF;
    case EventKind::Eliminated:
      return ProcessLine(e, msg, msg.MsgLogEliminado);
    case EventKind::TimesReported:
      return msg.MsgLogTempoUCP + FormatSpan(e.CpuTime) + " " + msg.MsgLogTempoDecorrido +
             FormatSpan(e.Lifetime);
    case EventKind::Dispatched:
      return ProcessLine(e, msg, msg.MsgLogProntoExec);
    case EventKind::StartedIO:
      return ProcessLine(e, msg, msg.MsgLogExecIO);
    case EventKind::Preempted:
      return ProcessLine(e, msg, msg.MsgLogExecProntoPrioridade);
    case EventKind::SliceEnded:
      return ProcessLine(e, msg, msg.MsgLogExecProntoTempo);
    case EventKind::PageFaultRaised:
      return PageLine(e, msg, msg.MsgLogExecPageFault);
    case EventKind::Suspended:
      return ProcessLine(e, msg, msg.MsgLogExecSuspenso);
    case EventKind::PriorityRaised: {
      const std::string text = msg.MsgLogAumentoPrioridade + "+" + std::to_string(e.Value);
      return e.From == psPageFault ? FixedPrefixLine(e, text) : ProcessLine(e, msg, text);
    }
    case EventKind::PriorityCapped:
      return FixedPrefixLine(e, " nao pode ter inc acima de " + std::to_string(e.Value));
    case EventKind::PreemptedForShorter:
      return ProcessLine(e, msg, msg.MsgLogPreemptadoMenorRestante);
    case EventKind::ChosenFirstCome:
      return ProcessLine(e, msg, msg.MsgLogRegraFcfs);
    case EventKind::ChosenInTurn:
      return ProcessLine(e, msg, msg.MsgLogRegraRr);
    case EventKind::ChosenShortestBurst:
      return ProcessLine(e, msg, FillIn(msg.MsgLogRegraSjf, {std::to_string(e.Value)}));
    case EventKind::ChosenShortestRemaining:
      return ProcessLine(e, msg, FillIn(msg.MsgLogRegraSrtf, {std::to_string(e.Value)}));
    case EventKind::ChosenTopLevel:
      return ProcessLine(e, msg, FillIn(msg.MsgLogRegraMlfq, {std::to_string(e.Value)}));
    case EventKind::LevelLowered:
      return ProcessLine(e, msg, FillIn(msg.MsgLogNivelRebaixado, {std::to_string(e.Value)}));
    case EventKind::LevelsBoosted:
      return FillIn(msg.MsgLogImpulso, {std::to_string(e.Value)});
    case EventKind::HardFaultFromImage:
      return PageLine(e, msg, msg.MsgLogHwPFImagem);
    case EventKind::SoftFaultFromFreeList:
      return PageLine(e, msg, msg.MsgLogSwPFLPL);
    case EventKind::SoftFaultFromModifiedList:
      return PageLine(e, msg, msg.MsgLogSwPFLPM);
    case EventKind::HardFaultFromPageFile:
      return PageLine(e, msg, msg.MsgLogHwPFPagefile2);
    case EventKind::NoFreeFrame:
      return PageLine(e, msg, msg.MsgLogSemFrameLivre);
    case EventKind::PageFileReserved:
      return ProcessLine(e, msg, msg.MsgLogAlocacaoBlocosPF);
    case EventKind::PageFileReleased:
      return ProcessLine(e, msg, msg.MsgLogLiberandoPFReservado);
    case EventKind::SwapInStarted:
      return ProcessLine(e, msg, msg.MsgLogSwapIn);
    case EventKind::SwapInPageRead:
      return PageLine(e, msg, msg.MsgLogHwPFPagefile);
    case EventKind::SwapInFinished:
      return ProcessLine(e, msg, msg.MsgLogLiberandoPFAlocado);
    case EventKind::SwappedOut:
      return ProcessLine(e, msg, OutswappedText(e, msg));
    case EventKind::PageReplaced:
      return PageLine(e, msg, msg.MsgLogSubstitui) + ReplacementRule(e, msg);
    case EventKind::FreeFramesLow:
      return msg.MsgLogLivresMenorQue + std::to_string(e.Value) + "%";
    case EventKind::ModifiedListWritten:
      return msg.MsgLogGravandoModificadas;
    case EventKind::SwapStarted:
      return msg.MsgLogIniciandoSwap;
  }
  return std::nullopt;
}

}  // namespace kelpa
