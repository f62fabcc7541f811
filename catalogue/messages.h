// The message catalogue: every text the program composes at run time. A default-constructed
// TMessages holds the built-in Portuguese texts; CarregaMensagens replaces them with the values of
// kelpa.ini. Texts are UTF-8. After loading, the catalogue is only read, so it needs no lock.
#pragma once

#include <array>
#include <string>

namespace kelpa {

struct TMessages {
  // Section MSGLOG: pieces of log lines.
  std::string MsgLogInicializando = "Inicializando Kelpa ...";
  std::string MsgLogProntoAs = "Kelpa pronto as ";
  std::string MsgLogDesativadoAs = "Kelpa desativado as ";
  std::string MsgLogProcesso = "Processo ";
  std::string MsgLogExecPageFault = " Exec -> Page Fault ";
  std::string MsgLogProntoExec = " Pronto -> Exec ";
  std::string MsgLogExecIO = " Executando -> IO ";
  std::string MsgLogExecProntoPrioridade = " Executando -> Pronto por prioridade ";
  std::string MsgLogExecProntoTempo = " Executando -> Pronto por tempo ";
  std::string MsgLogAumentoPrioridade = " Aumento de prioridade ";
  std::string MsgLogErroCriacao = "Erro: criacao do processo ";
  std::string MsgLogFaltaEspacoPF = ". Falta de espaco no PF";
  std::string MsgLogCriado = " criado";
  std::string MsgLogEliminado = " eliminado";
  std::string MsgLogTempoUCP = "Tempo de UCP: ";
  std::string MsgLogTempoDecorrido = "Tempo decorrido: ";
  std::string MsgLogExecSuspenso = " Executando -> Suspenso";
  std::string MsgLogGravandoModificadas = "Gravando lista de páginas modificadas no pagefile";
  std::string MsgLogIniciandoSwap = "Iniciando Swap";
  std::string MsgLogSuspensoOutswapped = " suspenso outswapped";
  std::string MsgLogIOOutswapped = " IO outswapped";
  std::string MsgLogPageFaultOutswapped = " page fault outswapped";
  std::string MsgLogProntoOutswapped = " pronto outswapped";
  std::string MsgLogLivresMenorQue = "Lista de pags livres menor que ";
  std::string MsgLogSwapIn = " swap in";
  std::string MsgLogHwPFPagefile = " HwPF - Pagefile ";
  std::string MsgLogLiberandoPFAlocado = " liberando pagefile alocado";
  std::string MsgLogHwPFImagem = " HwPF - Imagem ";
  std::string MsgLogSwPFLPM = " SwPF - LPM ";
  std::string MsgLogSwPFLPL = " SwPF - LPL ";
  std::string MsgLogHwPFPagefile2 = " HwPF - Pagefile ";
  std::string MsgLogAlocacaoBlocosPF = " alocacao de blocos no pagefile";
  std::string MsgLogLiberandoPFReservado = " liberando pagefile reservado";
  std::string MsgLogSemFrameLivre = " sem frame livre para a pagina ";

  // Section MSG: message boxes, grid headings, state names, captions.
  std::string MsgNenhumProcesso = "Nenhum processo foi criado.";
  std::string MsgExecutar = "Executar";
  std::string MsgParar = "Parar";
  std::string MsgColCor = "Cor";
  std::string MsgColPID = "PID";
  std::string MsgColPrio = "Prio";
  std::string MsgColEstado = "Estado";
  std::string MsgColUCP = "UCP";
  std::string MsgColFrames = "Frames";
  std::string MsgEstPronto = "Pronto";
  std::string MsgEstProntoOut = "ProntoOut";
  std::string MsgEstExecucao = "Execução";
  std::string MsgEstIO = "IO";
  std::string MsgEstIOOut = "IOOut";
  std::string MsgEstSuspenso = "Suspenso";
  std::string MsgEstSuspOut = "SuspOut";
  std::string MsgEstPFault = "PFault";
  std::string MsgEstPFOut = "PFOut";
  std::string MsgPrioridadeBase = "Prioridade base do processo";
  std::string MsgDigitePrioridade = "Digite a nova prioridade:";
  std::string MsgPrioridadeInvalida = "Prioridade inválida";
  std::string MsgColNPV = "NPV";
  std::string MsgColNPR = "NPR";
  std::string MsgColBitV = "Bit V";
  std::string MsgColBitM = "Bit M";
  std::string MsgColLocal = "Local";
  std::string MsgLocalExe = "Exe";
  std::string MsgLocalMem = "Mem";
  std::string MsgVBit = "V bit";
  std::string MsgMBit = "M bit";
  std::string MsgLocalPFile = "PFile";
  std::string MsgAntecipada = "Antecipada";
  std::string MsgPorDemanda = "Por demanda";
  std::string MsgAmpliacaoProximoInicio =
      "A nova ampliação vale a partir do próximo início do Kelpa.";
  std::string MsgTitConsole = "Console Kelpa";
  std::string MsgTitGerProcessador = "Gerência do Processador";
  std::string MsgTitGerMemoria = "Gerência de Memória";
  std::string MsgTitSelecione = "Selecione um Processo";
  std::string MsgTitPCB = "Bloco de Controle do Processo";
  std::string MsgTitEstatisticas = "Estatísticas";
  std::string MsgTitOpcoesMV = "Opções de Memória Virtual";
  std::string MsgTitCreditos = "Créditos";
  std::string MsgTitOpcoesEscalonamento = "Opções de Escalonamento";

  // Name of a process state 0..8; empty for any other code.
  const std::string& StateName(int state) const;
  // Name of a page location 0..4; "*" for any other code.
  std::string LocationName(int location) const;
};

// One catalogue entry: where it is read from and which text it fills.
struct TMessageEntry {
  const char* Section;
  const char* Key;
  std::string TMessages::*Field;
};

inline constexpr std::size_t kMessageCount = 77;

// All entries in loading order: the whole of MSGLOG, then MSG.
const std::array<TMessageEntry, kMessageCount>& MessageEntries();

// Reads every entry from the settings file at iniPath (a missing file, section or key keeps the
// default; a key present with an empty value gives the empty text). Never writes the file.
void CarregaMensagens(TMessages& messages, const std::string& iniPath);

}  // namespace kelpa
