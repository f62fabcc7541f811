// SPDX-License-Identifier: MIT
#include "catalogue/messages.h"

#include <iterator>

namespace kelpa {

const std::array<TMessageEntry, kMessageCount>& MessageEntries() {
  static const std::array<TMessageEntry, kMessageCount> entries = {{
      {"MSGLOG", "MSGLOG0001", &TMessages::MsgLogInicializando},
      {"MSGLOG", "MSGLOG0002", &TMessages::MsgLogProntoAs},
      {"MSGLOG", "MSGLOG0003", &TMessages::MsgLogDesativadoAs},
      {"MSGLOG", "MSGLOG0600", &TMessages::MsgLogProcesso},
      {"MSGLOG", "MSGLOG0601", &TMessages::MsgLogExecPageFault},
      {"MSGLOG", "MSGLOG0602", &TMessages::MsgLogProntoExec},
      {"MSGLOG", "MSGLOG0603", &TMessages::MsgLogExecIO},
      {"MSGLOG", "MSGLOG0604", &TMessages::MsgLogExecProntoPrioridade},
      {"MSGLOG", "MSGLOG0605", &TMessages::MsgLogExecProntoTempo},
      {"MSGLOG", "MSGLOG0700", &TMessages::MsgLogAumentoPrioridade},
      {"MSGLOG", "MSGLOG0701", &TMessages::MsgLogErroCriacao},
      {"MSGLOG", "MSGLOG0702", &TMessages::MsgLogFaltaEspacoPF},
      {"MSGLOG", "MSGLOG0703", &TMessages::MsgLogCriado},
      {"MSGLOG", "MSGLOG0704", &TMessages::MsgLogEliminado},
      {"MSGLOG", "MSGLOG0705", &TMessages::MsgLogTempoUCP},
      {"MSGLOG", "MSGLOG0706", &TMessages::MsgLogTempoDecorrido},
      {"MSGLOG", "MSGLOG0800", &TMessages::MsgLogExecSuspenso},
      {"MSGLOG", "MSGLOG0900", &TMessages::MsgLogGravandoModificadas},
      {"MSGLOG", "MSGLOG0901", &TMessages::MsgLogIniciandoSwap},
      {"MSGLOG", "MSGLOG0902", &TMessages::MsgLogSuspensoOutswapped},
      {"MSGLOG", "MSGLOG0903", &TMessages::MsgLogIOOutswapped},
      {"MSGLOG", "MSGLOG0904", &TMessages::MsgLogPageFaultOutswapped},
      {"MSGLOG", "MSGLOG0905", &TMessages::MsgLogProntoOutswapped},
      {"MSGLOG", "MSGLOG0906", &TMessages::MsgLogLivresMenorQue},
      {"MSGLOG", "MSGLOG0907", &TMessages::MsgLogSwapIn},
      {"MSGLOG", "MSGLOG0908", &TMessages::MsgLogHwPFPagefile},
      {"MSGLOG", "MSGLOG0909", &TMessages::MsgLogLiberandoPFAlocado},
      {"MSGLOG", "MSGLOG0910", &TMessages::MsgLogHwPFImagem},
      {"MSGLOG", "MSGLOG0911", &TMessages::MsgLogSwPFLPM},
      {"MSGLOG", "MSGLOG0912", &TMessages::MsgLogSwPFLPL},
      {"MSGLOG", "MSGLOG0913", &TMessages::MsgLogHwPFPagefile2},
      {"MSGLOG", "MSGLOG0914", &TMessages::MsgLogAlocacaoBlocosPF},
      {"MSGLOG", "MSGLOG0915", &TMessages::MsgLogLiberandoPFReservado},
      {"MSGLOG", "MSGLOG0916", &TMessages::MsgLogSemFrameLivre},
      {"MSGLOG", "MSGLOG0917", &TMessages::MsgLogSubstitui},
      {"MSGLOG", "MSGLOG0918", &TMessages::MsgLogRegraLRU},
      {"MSGLOG", "MSGLOG0919", &TMessages::MsgLogRegraSegundaChance},
      {"MSGLOG", "MSGLOG0920", &TMessages::MsgLogRegraOtima},
      {"MSG", "MSG0001", &TMessages::MsgNenhumProcesso},
      {"MSG", "MSG0002", &TMessages::MsgExecutar},
      {"MSG", "MSG0003", &TMessages::MsgParar},
      {"MSG", "MSG0500", &TMessages::MsgColCor},
      {"MSG", "MSG0501", &TMessages::MsgColPID},
      {"MSG", "MSG0502", &TMessages::MsgColPrio},
      {"MSG", "MSG0503", &TMessages::MsgColEstado},
      {"MSG", "MSG0504", &TMessages::MsgColUCP},
      {"MSG", "MSG0505", &TMessages::MsgColFrames},
      {"MSG", "MSG0510", &TMessages::MsgEstPronto},
      {"MSG", "MSG0511", &TMessages::MsgEstProntoOut},
      {"MSG", "MSG0512", &TMessages::MsgEstExecucao},
      {"MSG", "MSG0513", &TMessages::MsgEstIO},
      {"MSG", "MSG0514", &TMessages::MsgEstIOOut},
      {"MSG", "MSG0515", &TMessages::MsgEstSuspenso},
      {"MSG", "MSG0516", &TMessages::MsgEstSuspOut},
      {"MSG", "MSG0517", &TMessages::MsgEstPFault},
      {"MSG", "MSG0518", &TMessages::MsgEstPFOut},
      {"MSG", "MSG0519", &TMessages::MsgPrioridadeBase},
      {"MSG", "MSG0520", &TMessages::MsgDigitePrioridade},
      {"MSG", "MSG0521", &TMessages::MsgPrioridadeInvalida},
      {"MSG", "MSG0600", &TMessages::MsgColNPV},
      {"MSG", "MSG0601", &TMessages::MsgColNPR},
      {"MSG", "MSG0602", &TMessages::MsgColBitV},
      {"MSG", "MSG0603", &TMessages::MsgColBitM},
      {"MSG", "MSG0604", &TMessages::MsgColLocal},
      {"MSG", "MSG0605", &TMessages::MsgLocalExe},
      {"MSG", "MSG0606", &TMessages::MsgLocalMem},
      {"MSG", "MSG0607", &TMessages::MsgVBit},
      {"MSG", "MSG0608", &TMessages::MsgMBit},
      {"MSG", "MSG0609", &TMessages::MsgLocalPFile},
      {"MSG", "MSG0700", &TMessages::MsgAntecipada},
      {"MSG", "MSG0701", &TMessages::MsgPorDemanda},
      {"MSG", "MSG9000", &TMessages::MsgTitConsole},
      {"MSG", "MSG9001", &TMessages::MsgTitGerProcessador},
      {"MSG", "MSG9002", &TMessages::MsgTitGerMemoria},
      {"MSG", "MSG9003", &TMessages::MsgTitSelecione},
      {"MSG", "MSG9004", &TMessages::MsgTitPCB},
      {"MSG", "MSG9005", &TMessages::MsgTitEstatisticas},
      {"MSG", "MSG9006", &TMessages::MsgTitOpcoesMV},
      {"MSG", "MSG9007", &TMessages::MsgTitCreditos},
      {"MSG", "MSG9008", &TMessages::MsgTitOpcoesEscalonamento},
      // Scenario files.
      {"MSG", "MSG3000", &TMessages::MsgCenSecaoDesconhecida},
      {"MSG", "MSG3001", &TMessages::MsgCenChaveDesconhecida},
      {"MSG", "MSG3002", &TMessages::MsgCenSecaoRepetida},
      {"MSG", "MSG3003", &TMessages::MsgCenChaveRepetida},
      {"MSG", "MSG3004", &TMessages::MsgCenNumeroMalformado},
      {"MSG", "MSG3005", &TMessages::MsgCenForaDoIntervalo},
      {"MSG", "MSG3006", &TMessages::MsgCenTipoDesconhecido},
      {"MSG", "MSG3007", &TMessages::MsgCenBuscaDesconhecida},
      {"MSG", "MSG3008", &TMessages::MsgCenCorMalformada},
      {"MSG", "MSG3009", &TMessages::MsgCenListaMalformada},
      {"MSG", "MSG3010", &TMessages::MsgCenListaNaoCrescente},
      {"MSG", "MSG3011", &TMessages::MsgCenAntesDaChegada},
      {"MSG", "MSG3012", &TMessages::MsgCenFormatoInvalido},
      {"MSG", "MSG3013", &TMessages::MsgCenLinhaInvalida},
      {"MSG", "MSG3014", &TMessages::MsgCenChaveSemSecao},
      {"MSG", "MSG3015", &TMessages::MsgCenArquivoIlegivel},
      {"MSG", "MSG3016", &TMessages::MsgCenArquivoGrande},
      {"MSG", "MSG3017", &TMessages::MsgCenArquivoUtf16},
      {"MSG", "MSG3018", &TMessages::MsgCenSemProcesso},
      {"MSG", "MSG3019", &TMessages::MsgCenIntervaloMalformado},
      {"MSG", "MSG3020", &TMessages::MsgCenIntervaloInvertido},
      {"MSG", "MSG3021", &TMessages::MsgCenMudancaSemTick},
      {"MSG", "MSG3022", &TMessages::MsgCenNaoArquivoComum},
      {"MSG", "MSG3023", &TMessages::MsgCenSemNumerosSorteio},
      // The command-line runner.
      {"MSG", "MSG3100", &TMessages::MsgRunUso},
      {"MSG", "MSG3101", &TMessages::MsgRunAjudaRun},
      {"MSG", "MSG3102", &TMessages::MsgRunAjudaCompare},
      {"MSG", "MSG3103", &TMessages::MsgRunAjudaCheck},
      {"MSG", "MSG3104", &TMessages::MsgRunAjudaJanelas},
      {"MSG", "MSG3105", &TMessages::MsgRunAjudaSaida},
      {"MSG", "MSG3106", &TMessages::MsgRunVejaAjuda},
      {"MSG", "MSG3110", &TMessages::MsgRunSemComando},
      {"MSG", "MSG3111", &TMessages::MsgRunDoisComandos},
      {"MSG", "MSG3112", &TMessages::MsgRunOpcaoDesconhecida},
      {"MSG", "MSG3113", &TMessages::MsgRunArgumentoSobrando},
      {"MSG", "MSG3114", &TMessages::MsgRunFaltaValor},
      {"MSG", "MSG3115", &TMessages::MsgRunValorInvalido},
      {"MSG", "MSG3116", &TMessages::MsgRunOpcaoRepetida},
      {"MSG", "MSG3117", &TMessages::MsgRunOpcaoForaDoComando},
      {"MSG", "MSG3118", &TMessages::MsgRunFaltaVary},
      {"MSG", "MSG3119", &TMessages::MsgRunNaoGravou},
      {"MSG", "MSG3120", &TMessages::MsgRunCenario},
      {"MSG", "MSG3121", &TMessages::MsgRunCatalogo},
      {"MSG", "MSG3122", &TMessages::MsgRunEmbutido},
      {"MSG", "MSG3123", &TMessages::MsgRunProcesso},
      {"MSG", "MSG3124", &TMessages::MsgRunTipo},
      {"MSG", "MSG3125", &TMessages::MsgRunFim},
      {"MSG", "MSG3126", &TMessages::MsgRunSaidaECenario},
      {"MSG", "MSG3127", &TMessages::MsgRunSaidasIguais},
      {"MSG", "MSG3128", &TMessages::MsgRunInterrompido},
      {"MSG", "MSG3129", &TMessages::MsgRunCombinacoesDemais},
      {"MSG", "MSG3130", &TMessages::MsgRunVaryRepetido},
      {"MSG", "MSG3131", &TMessages::MsgRunCatalogoRecusado},
      {"MSG", "MSG3132", &TMessages::MsgRunSemMemoria},
      {"MSG", "MSG3133", &TMessages::MsgRunAjudaCorrigir},
      {"MSG", "MSG3134", &TMessages::MsgCorBinario},
      {"MSG", "MSG3135", &TMessages::MsgCorSemTitulo},
      {"MSG", "MSG3136", &TMessages::MsgCorColunaInvalida},
      {"MSG", "MSG3137", &TMessages::MsgCorColunaForaDaChave},
      {"MSG", "MSG3138", &TMessages::MsgCorColunaRepetida},
      {"MSG", "MSG3139", &TMessages::MsgCorTickMalformado},
      {"MSG", "MSG3140", &TMessages::MsgCorTickForaDaChave},
      {"MSG", "MSG3141", &TMessages::MsgCorTickRepetido},
      {"MSG", "MSG3142", &TMessages::MsgCorLinhaIrregular},
      {"MSG", "MSG3143", &TMessages::MsgCorNaoEEstado},
      {"MSG", "MSG3144", &TMessages::MsgCorNaoEProcessador},
      {"MSG", "MSG3145", &TMessages::MsgCorAspasAbertas},
      {"MSG", "MSG3146", &TMessages::MsgCorChaveEmBranco},
      {"MSG", "MSG3147", &TMessages::MsgCorNota},
      {"MSG", "MSG3148", &TMessages::MsgCorDiferencas},
      {"MSG", "MSG3149", &TMessages::MsgCorDiferenca},
      // The timeline window and the exports.
      {"MSG", "MSG3200", &TMessages::MsgLinhaProcessador},
      {"MSG", "MSG3201", &TMessages::MsgLinhaDispositivo},
      {"MSG", "MSG3202", &TMessages::MsgLinhaOcioso},
      {"MSG", "MSG3203", &TMessages::MsgLinhaInterrupcao},
      {"MSG", "MSG3204", &TMessages::MsgLinhaTick},
      {"MSG", "MSG3205", &TMessages::MsgLinhaPrioridade},
      {"MSG", "MSG3206", &TMessages::MsgLinhaCriacao},
      {"MSG", "MSG3207", &TMessages::MsgLinhaFim},
      {"MSG", "MSG3208", &TMessages::MsgLinhaAumento},
      {"MSG", "MSG3209", &TMessages::MsgLinhaFatia},
      {"MSG", "MSG3210", &TMessages::MsgLinhaPreempcao},
      {"MSG", "MSG3211", &TMessages::MsgLinhaFaltaDura},
      {"MSG", "MSG3212", &TMessages::MsgLinhaFaltaSuave},
      {"MSG", "MSG3213", &TMessages::MsgLinhaSaiDisco},
      {"MSG", "MSG3214", &TMessages::MsgLinhaVoltaDisco},
      {"MSG", "MSG3215", &TMessages::MsgLinhaAmpliar},
      {"MSG", "MSG3216", &TMessages::MsgLinhaReduzir},
      {"MSG", "MSG3217", &TMessages::MsgLinhaAjustar},
      {"MSG", "MSG3218", &TMessages::MsgLinhaExportarTudo},
      {"MSG", "MSG3219", &TMessages::MsgLinhaExportarVisivel},
      {"MSG", "MSG3220", &TMessages::MsgLinhaFiltroImagem},
      {"MSG", "MSG3221", &TMessages::MsgExportarCsv},
      {"MSG", "MSG3222", &TMessages::MsgFiltroCsv},
      {"MSG", "MSG3223", &TMessages::MsgNaoGravouArquivo},
      {"MSG", "MSG3224", &TMessages::MsgLinhaEstado},
      {"MSG", "MSG3225", &TMessages::MsgLinhaOpcoes},
      {"MSG", "MSG3226", &TMessages::MsgLinhaAoVivo},
      {"MSG", "MSG3227", &TMessages::MsgLinhaGrandeDemais},
      {"MSG", "MSG3228", &TMessages::MsgLinhaTamanho},
      {"MSG", "MSG9009", &TMessages::MsgTitLinhaDoTempo},
      // Scenarios in the windows.
      {"MSG", "MSG3250", &TMessages::MsgCenarioAberto},
      {"MSG", "MSG3251", &TMessages::MsgVoltaAoTick},
      {"MSG", "MSG3252", &TMessages::MsgTick},
      {"MSG", "MSG3253", &TMessages::MsgVoltarAoTick},
      {"MSG", "MSG3254", &TMessages::MsgArquivosCenario},
      {"MSG", "MSG3255", &TMessages::MsgCenarioNaoGravado},
      {"MSG", "MSG3256", &TMessages::MsgIrParaOTick},
      {"MSG", "MSG3257", &TMessages::MsgTickInvalido},
      {"MSG", "MSG3258", &TMessages::MsgProximoEvento},
      {"MSG", "MSG3259", &TMessages::MsgEventoNaoHouve},
      {"MSG", "MSG3260", &TMessages::MsgNaoECenario},
      {"MSG", "MSG3261", &TMessages::MsgCenarioNomePadrao},
      {"MSG", "MSG3262", &TMessages::MsgHorasVirtuais},
      {"MSG", "MSG3263", &TMessages::MsgHorasReais},
      // What the windows tell of the run as it stands.
      {"MSG", "MSG3300", &TMessages::MsgProcessosVivos},
      {"MSG", "MSG3301", &TMessages::MsgPedidoSuspensao},
      {"MSG", "MSG3302", &TMessages::MsgPedidoRetomada},
      {"MSG", "MSG3303", &TMessages::MsgPedidoFim},
      {"MSG", "MSG3304", &TMessages::MsgPedidosLegenda},
      {"MSG", "MSG3305", &TMessages::MsgValorEspera},
      {"MSG", "MSG3306", &TMessages::MsgValorFatiaUma},
      {"MSG", "MSG3307", &TMessages::MsgValorFatia},
      {"MSG", "MSG3308", &TMessages::MsgValorClock},
      // Each process's life in ticks.
      {"MSG", "MSG3310", &TMessages::MsgTicksTitulo},
      {"MSG", "MSG3311", &TMessages::MsgTicksChegada},
      {"MSG", "MSG3312", &TMessages::MsgTicksDespacho},
      {"MSG", "MSG3313", &TMessages::MsgTicksFim},
      {"MSG", "MSG3314", &TMessages::MsgTicksUcp},
      {"MSG", "MSG3315", &TMessages::MsgTicksRetorno},
      {"MSG", "MSG3316", &TMessages::MsgTicksEspera},
      {"MSG", "MSG3317", &TMessages::MsgTicksResposta},
      {"MSG", "MSG3318", &TMessages::MsgTicksReferencias},
      {"MSG", "MSG3319", &TMessages::MsgTicksFalhas},
      {"MSG", "MSG3320", &TMessages::MsgTicksAcerto},
      {"MSG", "MSG3321", &TMessages::MsgTicksMedia},
      {"MSG", "MSG3322", &TMessages::MsgTicksTotal},
      {"MSG", "MSG3323", &TMessages::MsgTicksTerminados},
      {"MSG", "MSG3324", &TMessages::MsgTicksAbrir},
      // Programs of one's own, policies to compare.
      {"MSG", "MSG3330", &TMessages::MsgCenProgramaVazio},
      {"MSG", "MSG3331", &TMessages::MsgCenInstrucaoDesconhecida},
      {"MSG", "MSG3332", &TMessages::MsgCenPaginaInexistente},
      {"MSG", "MSG3333", &TMessages::MsgCenProgramaLongo},
      {"MSG", "MSG3334", &TMessages::MsgLogPreemptadoMenorRestante},
      {"MSG", "MSG3335", &TMessages::MsgLogRegraFcfs},
      {"MSG", "MSG3336", &TMessages::MsgLogRegraRr},
      {"MSG", "MSG3337", &TMessages::MsgLogRegraSjf},
      {"MSG", "MSG3338", &TMessages::MsgLogRegraSrtf},
      {"MSG", "MSG3339", &TMessages::MsgLogRegraMlfq},
      {"MSG", "MSG3340", &TMessages::MsgLogNivelRebaixado},
      {"MSG", "MSG3341", &TMessages::MsgLogImpulso},
      {"MSG", "MSG3342", &TMessages::MsgCenEscolhaDesconhecida},
      {"MSG", "MSG3343", &TMessages::MsgSubstituicao},
      {"MSG", "MSG3344", &TMessages::MsgColBitR},
      {"MSG", "MSG3345", &TMessages::MsgOrdemDeUso},
      {"MSG", "MSG3346", &TMessages::MsgPrograma},
      {"MSG", "MSG3347", &TMessages::MsgContadorPrograma},
      {"MSG", "MSG3348", &TMessages::MsgProgramaRepete},
      {"MSG", "MSG3349", &TMessages::MsgProgramaTermina},
      // Files and folders the program cannot use; the runner's help on where to read more.
      {"MSG", "MSG3350", &TMessages::MsgIniMantido},
      {"MSG", "MSG3351", &TMessages::MsgIniNaoLido},
      {"MSG", "MSG3352", &TMessages::MsgLogNaoCriado},
      {"MSG", "MSG3353", &TMessages::MsgPastaRecusada},
      {"MSG", "MSG3354", &TMessages::MsgRunAjudaTraco},
      {"MSG", "MSG3355", &TMessages::MsgRunAjudaMais},
      {"MSG", "MSG3356", &TMessages::MsgRunOpcaoSemValor},
      // The guide window.
      {"MSG", "MSG3360", &TMessages::MsgGuiaTitulo},
      {"MSG", "MSG3361", &TMessages::MsgGuiaPasseio},
      {"MSG", "MSG3362", &TMessages::MsgGuiaCenarios},
      {"MSG", "MSG3363", &TMessages::MsgGuiaExecutor},
      {"MSG", "MSG3364", &TMessages::MsgGuiaVoltar},
      {"MSG", "MSG3365", &TMessages::MsgGuiaProcurar},
      {"MSG", "MSG3366", &TMessages::MsgGuiaAnterior},
      {"MSG", "MSG3367", &TMessages::MsgGuiaProximo},
      {"MSG", "MSG3368", &TMessages::MsgGuiaNaoEncontrado},
      {"MSG", "MSG3369", &TMessages::MsgGuiaForaDoGuia},
      // The scheduling policies' names and the processor window's queues under them.
      {"MSG", "MSG3370", &TMessages::MsgPoliticaPrioridade},
      {"MSG", "MSG3371", &TMessages::MsgPoliticaFcfs},
      {"MSG", "MSG3372", &TMessages::MsgPoliticaRr},
      {"MSG", "MSG3373", &TMessages::MsgPoliticaSjf},
      {"MSG", "MSG3374", &TMessages::MsgPoliticaSrtf},
      {"MSG", "MSG3375", &TMessages::MsgPoliticaMlfq},
      {"MSG", "MSG3376", &TMessages::MsgFilaUnica},
      {"MSG", "MSG3377", &TMessages::MsgFilaUnicaDica},
      {"MSG", "MSG3378", &TMessages::MsgFilaNivel},
      {"MSG", "MSG3379", &TMessages::MsgFilaNivelDica},
      {"MSG", "MSG3380", &TMessages::MsgPdfRodape},
      {"MSG", "MSG3381", &TMessages::MsgPdfTitulo},
      {"MSG", "MSG3382", &TMessages::MsgPdfCabecalho},
      {"MSG", "MSG3383", &TMessages::MsgPdfEstados},
      {"MSG", "MSG3384", &TMessages::MsgPdfExportar},
      {"MSG", "MSG3385", &TMessages::MsgPdfFiltro},
      {"MSG", "MSG3386", &TMessages::MsgRunSemPdf},
      {"MSG", "MSG3387", &TMessages::MsgRunAjudaPdf},
      {"MSG", "MSG3388", &TMessages::MsgPdfValor},
  }};
  return entries;
}

const std::string& TMessages::StateName(int state) const {
  static const std::string empty;
  switch (state) {
    case 0:
      return MsgEstPronto;
    case 1:
      return MsgEstProntoOut;
    case 2:
      return MsgEstExecucao;
    case 3:
      return MsgEstIO;
    case 4:
      return MsgEstIOOut;
    case 5:
      return MsgEstSuspenso;
    case 6:
      return MsgEstSuspOut;
    case 7:
      return MsgEstPFault;
    case 8:
      return MsgEstPFOut;
    default:
      return empty;
  }
}

std::string TMessages::LocationName(int location) const {
  switch (location) {
    case 0:
      return MsgLocalExe;
    case 1:
      return MsgLocalMem;
    case 2:
      return MsgVBit;
    case 3:
      return MsgMBit;
    case 4:
      return MsgLocalPFile;
    default:
      return "*";
  }
}

const std::string& TMessages::PolicyName(int policy) const {
  static const std::string empty;
  const std::string* names[] = {&MsgPoliticaPrioridade, &MsgPoliticaFcfs, &MsgPoliticaRr,
                                &MsgPoliticaSjf,        &MsgPoliticaSrtf, &MsgPoliticaMlfq};
  return policy >= 0 && policy < static_cast<int>(std::size(names)) ? *names[policy] : empty;
}

}  // namespace kelpa
