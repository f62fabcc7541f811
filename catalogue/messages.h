// SPDX-License-Identifier: MIT
// The message catalogue: every text the program composes at run time. A default-constructed
// TMessages holds the built-in Portuguese texts; CarregaMensagens replaces them with the values of
// kelpa.ini. Texts are UTF-8. After loading, the catalogue is only read, so it needs no lock.
#pragma once

#include <array>
#include <string>
#include <vector>

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
  // A replacement under a policy other than first-in-first-out: the page, then the policy's rule.
  std::string MsgLogSubstitui = " substitui a página ";
  std::string MsgLogRegraLRU = " (LRU: a usada há mais tempo)";
  std::string MsgLogRegraSegundaChance = " (SEGUNDA_CHANCE: a primeira sem bit R na fila)";
  std::string MsgLogRegraOtima = " (OTIMA: a usada mais adiante no programa)";

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
  std::string MsgTitConsole = "Console Kelpa";
  std::string MsgTitGerProcessador = "Gerência do Processador";
  std::string MsgTitGerMemoria = "Gerência de Memória";
  std::string MsgTitSelecione = "Selecione um Processo";
  std::string MsgTitPCB = "Bloco de Controle do Processo";
  std::string MsgTitEstatisticas = "Estatísticas";
  std::string MsgTitOpcoesMV = "Opções de Memória Virtual";
  std::string MsgTitCreditos = "Créditos";
  std::string MsgTitOpcoesEscalonamento = "Opções de Escalonamento";

  // Scenario files: why a scenario was refused (MSG3000..MSG3099).
  std::string MsgCenSecaoDesconhecida = "seção desconhecida [%1]";
  std::string MsgCenChaveDesconhecida = "chave desconhecida %1 na seção [%2]";
  std::string MsgCenSecaoRepetida = "seção [%1] repetida (já aberta na linha %2)";
  std::string MsgCenChaveRepetida = "chave %1 repetida (já dada na linha %2)";
  std::string MsgCenNumeroMalformado = "%1: número malformado \"%2\"";
  std::string MsgCenForaDoIntervalo = "%1: %2 fora do intervalo %3..%4";
  std::string MsgCenTipoDesconhecido =
      "%1: tipo de processo desconhecido \"%2\" (CPU, IO_1, IO_2, IO_3, MIX_1 ou MIX_2)";
  std::string MsgCenBuscaDesconhecida = "%1: busca desconhecida \"%2\" (ANTECIPADA ou DEMANDA)";
  std::string MsgCenCorMalformada = "%1: cor malformada \"%2\" (use #RRGGBB)";
  std::string MsgCenListaMalformada = "%1: lista malformada \"%2\"";
  std::string MsgCenListaNaoCrescente = "%1: lista não crescente (%2 depois de %3)";
  std::string MsgCenAntesDaChegada = "%1: tick %2 antes da chegada do processo (tick %3)";
  std::string MsgCenFormatoInvalido = "FORMATO %1 não suportado (somente 1)";
  std::string MsgCenLinhaInvalida = "linha que não é seção, chave nem comentário";
  std::string MsgCenChaveSemSecao = "chave antes de qualquer seção";
  std::string MsgCenArquivoIlegivel = "não foi possível ler o arquivo";
  std::string MsgCenArquivoGrande = "arquivo maior que 1 MiB";
  std::string MsgCenArquivoUtf16 = "arquivo em UTF-16; grave-o em UTF-8";
  std::string MsgCenSemProcesso =
      "o cenário não tem nenhum processo (escreva [PROCESSO N] ou [GERAR])";
  std::string MsgCenIntervaloMalformado = "%1: intervalo malformado \"%2\" (use MIN-MAX)";
  std::string MsgCenIntervaloInvertido = "%1: mínimo %2 maior que o máximo %3";
  std::string MsgCenMudancaSemTick = "a seção [%1] não diz em que TICK a mudança vale";
  std::string MsgCenNaoArquivoComum =
      "não é um arquivo comum (só arquivos comuns são lidos, não pipes nem dispositivos)";
  std::string MsgCenSemNumerosSorteio =
      "[GERAR]: não há números livres para os processos sorteados (depois do [PROCESSO %1] escrito,"
      " os números só vão até 999)";
  // The command-line runner: usage, its errors and the labels of its text output
  // (MSG3100..MSG3199).
  std::string MsgRunUso = "Uso:";
  std::string MsgRunAjudaRun =
      "executa o cenário em tempo virtual e imprime o cabeçalho, o registro e as estatísticas;"
      " --timeline desenha também a linha do tempo da execução (SVG ou PNG)";
  std::string MsgRunAjudaCompare =
      "executa cada combinação dos valores sobre a mesma carga e compara as estatísticas e os"
      " números de cada processo";
  std::string MsgRunAjudaCheck = "valida o cenário e o imprime com todos os valores";
  std::string MsgRunAjudaJanelas =
      "Sem argumentos, abre as janelas; kelpa FILE as abre com o cenário.";
  std::string MsgRunAjudaSaida =
      "Saída: 0 sucesso, 2 erro de uso ou de cenário, 3 erro de execução.";
  std::string MsgRunVejaAjuda = "Use kelpa --help para ver as opções.";
  std::string MsgRunSemComando =
      "falta o comando (--run, --compare, --check, --corrigir, --help ou --version)";
  std::string MsgRunDoisComandos = "um comando só por vez: ";
  std::string MsgRunOpcaoDesconhecida = "opção desconhecida: ";
  std::string MsgRunArgumentoSobrando = "argumento inesperado: ";
  std::string MsgRunFaltaValor = "falta o valor de ";
  std::string MsgRunValorInvalido = "valor inválido para ";
  std::string MsgRunOpcaoRepetida = "opção repetida: ";
  std::string MsgRunOpcaoForaDoComando = "opção que não cabe neste comando: ";
  std::string MsgRunFaltaVary = "--compare precisa de ao menos um --vary";
  std::string MsgRunNaoGravou = "não foi possível gravar ";
  std::string MsgRunCenario = "cenário";
  std::string MsgRunCatalogo = "catálogo";
  std::string MsgRunEmbutido = "embutido";
  std::string MsgRunProcesso = "Processo";
  std::string MsgRunTipo = "Tipo";
  std::string MsgRunFim = "Fim";
  std::string MsgRunSaidaECenario = "%1 é o próprio arquivo do cenário: %2";
  std::string MsgRunSaidasIguais = "--output e --timeline são o mesmo arquivo: %1";
  std::string MsgRunInterrompido =
      "interrompido; nenhum arquivo ficou pela metade (um arquivo que seria substituído ficou como"
      " estava)";
  std::string MsgRunCombinacoesDemais = "--vary pede mais de %1 combinações (o limite)";
  std::string MsgRunVaryRepetido = "--vary repetido para a chave %1";
  std::string MsgRunCatalogoRecusado = "embutido (kelpa.ini recusado: %1)";
  std::string MsgRunSemMemoria = "memória insuficiente; nenhum arquivo ficou pela metade";
  // --corrigir (MSG3133..MSG3149): its help, what a table of states cannot hold, and the report.
  std::string MsgRunAjudaCorrigir =
      "corrige a tabela de estados de um aluno (ANSWERS, um CSV como o de --format states, células "
      "em branco = sem resposta) pela chave KEY gravada com --format states: imprime a nota e cada "
      "célula diferente";
  std::string MsgCorBinario = "arquivo binário (byte NUL); a tabela deve ser texto CSV";
  std::string MsgCorSemTitulo = "falta a linha de títulos (tick,P1,...,cpu)";
  std::string MsgCorColunaInvalida = "coluna desconhecida %1 (use tick, P1, P2... e cpu)";
  std::string MsgCorColunaForaDaChave = "coluna %1 que a chave não tem";
  std::string MsgCorColunaRepetida = "coluna %1 repetida";
  std::string MsgCorTickMalformado = "tick malformado \"%1\"";
  std::string MsgCorTickForaDaChave = "tick %1 que a chave não tem";
  std::string MsgCorTickRepetido = "tick %1 repetido (já na linha %2)";
  std::string MsgCorLinhaIrregular = "linha com %1 células; o título tem %2";
  std::string MsgCorNaoEEstado = "coluna %1: \"%2\" não é um estado";
  std::string MsgCorNaoEProcessador =
      "coluna cpu: \"%1\" não é um pid, IDLE, INT_PREEMPT, INT_SLICE nem INT_PF";
  std::string MsgCorAspasAbertas = "aspas abertas e não fechadas na linha";
  std::string MsgCorChaveEmBranco = "célula em branco na chave (coluna %1)";
  std::string MsgCorNota = "Certas: %1 de %2 respondidas (%3%); %4 de %5 no total (%6%)";
  std::string MsgCorDiferencas = "Diferenças: %1 (tick, coluna, esperado, dado)";
  std::string MsgCorDiferenca = "tick %1, %2: esperado %3, dado %4";

  // The timeline window and the exports.
  std::string MsgLinhaProcessador = "Processador";
  std::string MsgLinhaDispositivo = "Dispositivo de E/S";
  std::string MsgLinhaOcioso = "Ocioso";
  std::string MsgLinhaInterrupcao = "Interrupção";
  std::string MsgLinhaTick = "Tempo (ticks)";
  std::string MsgLinhaPrioridade = "Prioridade";
  std::string MsgLinhaCriacao = "Criação";
  std::string MsgLinhaFim = "Término";
  std::string MsgLinhaAumento = "Aumento de prioridade";
  std::string MsgLinhaFatia = "Fim da fatia";
  std::string MsgLinhaPreempcao = "Preempção";
  std::string MsgLinhaFaltaDura = "Falta de página (disco)";
  std::string MsgLinhaFaltaSuave = "Falta de página (memória)";
  std::string MsgLinhaSaiDisco = "Levado ao disco";
  std::string MsgLinhaVoltaDisco = "Trazido do disco";
  std::string MsgLinhaAmpliar = "Ampliar";
  std::string MsgLinhaReduzir = "Reduzir";
  std::string MsgLinhaAjustar = "Ajustar";
  std::string MsgLinhaExportarTudo = "Exportar tudo...";
  std::string MsgLinhaExportarVisivel = "Exportar o visível...";
  std::string MsgLinhaFiltroImagem = "Imagem PNG (*.png);;Desenho SVG (*.svg)";
  std::string MsgExportarCsv = "Exportar CSV...";
  std::string MsgFiltroCsv = "Arquivo CSV (*.csv)";
  std::string MsgNaoGravouArquivo = "Não foi possível gravar o arquivo";
  std::string MsgLinhaEstado = "Estado";
  std::string MsgLinhaOpcoes = "Opções:";
  std::string MsgLinhaAoVivo = "Execução ao vivo";
  std::string MsgLinhaGrandeDemais =
      "A imagem teria %1 x %2 pixels, mais que os 32000 que uma imagem pode ter: reduza a "
      "ampliação ou exporte em SVG.";
  std::string MsgLinhaTamanho =
      "A imagem teria %1 x %2 pixels, mais que os 32000 que uma imagem PNG pode ter: exporte em "
      "SVG.";
  std::string MsgTitLinhaDoTempo = "Linha do tempo";
  // Scenarios in the windows (MSG3250..MSG3299).
  std::string MsgCenarioAberto = "Cenário aberto:";
  std::string MsgVoltaAoTick = "Volta ao tick";
  std::string MsgTick = "Tick";
  std::string MsgVoltarAoTick = "Voltar ao tick (0 a %1):";
  std::string MsgArquivosCenario = "Cenários (*.ini)";
  std::string MsgCenarioNaoGravado = "Não foi possível gravar o cenário";
  std::string MsgIrParaOTick = "Ir para o tick (0 a %1):";
  std::string MsgTickInvalido = "Tick inválido: %1. Escreva um número de 0 a %2.";
  std::string MsgProximoEvento = "Correr até o próximo evento do tipo:";
  std::string MsgEventoNaoHouve = "Nenhum evento desse tipo até o tick %1.";
  std::string MsgNaoECenario = "O arquivo não é um cenário e não foi substituído";
  std::string MsgCenarioNomePadrao = "cenario.ini";
  // The log's times change clocks when a scenario is opened and when the program ends in it.
  std::string MsgHorasVirtuais = "A partir daqui, os horários são do tempo virtual do cenário.";
  std::string MsgHorasReais =
      "A partir daqui, os horários voltam a ser os do relógio do computador.";
  // What the windows tell of the run as it stands (MSG3300..MSG3349): the console's status, the
  // process list's requests not yet taken, the speed controls' values.
  std::string MsgProcessosVivos = "Processos: %1";
  // A request the process has not taken yet, marked before its state's name (%1): short, so the
  // marker shows in the narrow column; the column's heading explains the marks.
  std::string MsgPedidoSuspensao = "‖ %1";
  std::string MsgPedidoRetomada = "▸ %1";
  std::string MsgPedidoFim = "× %1";
  std::string MsgPedidosLegenda =
      "Pedidos ainda não atendidos: ‖ suspender, ▸ retomar, × finalizar";
  // The values of the processor window's speed controls.
  std::string MsgValorEspera = "%1 passagens";
  std::string MsgValorFatiaUma = "%1 instrução";
  std::string MsgValorFatia = "%1 instruções";
  std::string MsgValorClock = "%1 ms";
  // Each process's life in ticks (MSG3310..MSG3329): the runner's table and the statistics
  // window's second window, their columns and summary rows.
  std::string MsgTicksTitulo = "Processos em ticks";
  std::string MsgTicksChegada = "Chegada";
  std::string MsgTicksDespacho = "1º despacho";
  std::string MsgTicksFim = "Término";
  std::string MsgTicksUcp = "Ticks de UCP";
  std::string MsgTicksRetorno = "Retorno";
  std::string MsgTicksEspera = "Espera";
  std::string MsgTicksResposta = "Resposta";
  std::string MsgTicksReferencias = "Referências";
  std::string MsgTicksFalhas = "Falhas";
  std::string MsgTicksAcerto = "Taxa de acerto";
  std::string MsgTicksMedia = "Média dos terminados";
  std::string MsgTicksTotal = "Total";
  std::string MsgTicksTerminados = "Terminados";
  std::string MsgTicksAbrir = "Processos em ticks...";
  // Programs of one's own, policies to compare (MSG3330..MSG3349).
  std::string MsgCenProgramaVazio = "%1: programa vazio";
  std::string MsgCenInstrucaoDesconhecida =
      "%1: instrução desconhecida \"%2\" (use C, E1, E2, E3, W, L<página> ou G<página>, com *n"
      " opcional)";
  std::string MsgCenPaginaInexistente = "%1: \"%2\" nomeia uma página fora de 0..%3";
  std::string MsgCenProgramaLongo =
      "%1: %2 instruções não cabem nas páginas do processo (no máximo %3)";
  // The rules of the textbook scheduling policies, in the log after a process's number.
  std::string MsgLogPreemptadoMenorRestante =
      " Executando -> Pronto: um processo pronto tem menos a executar (SRTF)";
  std::string MsgLogRegraFcfs = " escolhido: o primeiro a chegar à fila (FCFS)";
  std::string MsgLogRegraRr = " escolhido: o primeiro da fila circular (RR)";
  std::string MsgLogRegraSjf = " escolhido: a menor próxima rajada, %1 ticks (SJF)";
  std::string MsgLogRegraSrtf = " escolhido: o menor tempo restante, %1 ticks (SRTF)";
  std::string MsgLogRegraMlfq = " escolhido: o primeiro do nível ocupado mais alto, %1 (MLFQ)";
  std::string MsgLogNivelRebaixado = " gastou sua cota e desce ao nível %1 (MLFQ)";
  std::string MsgLogImpulso = "Impulso: todos os processos voltam ao nível %1 (MLFQ)";
  // Page replacement: a choice option's unknown name, the memory options' policy, the control
  // block's reference bits and order of use, a program and its counter.
  std::string MsgCenEscolhaDesconhecida = "%1: valor desconhecido \"%2\" (um de %3)";
  std::string MsgSubstituicao = "Substituição de páginas";
  std::string MsgColBitR = "Bit R";
  std::string MsgOrdemDeUso = "Uso";
  std::string MsgPrograma = "Programa";
  std::string MsgContadorPrograma = "Contador de programa:";
  std::string MsgProgramaRepete = "(repete)";
  std::string MsgProgramaTermina = "(termina no fim)";
  // Files and folders the program cannot use, and the runner's help on where to read more
  // (MSG3350..MSG3359). Some are shown before the catalogue is loaded: they are read on their own
  // from the kelpa.ini in force then, or are the built-in ones.
  // %1 is the described "Unable to write to <path>", %2 why the file was not read.
  std::string MsgIniMantido = "%1: %2; o arquivo fica como está";
  std::string MsgIniNaoLido = "Não foi possível ler %1: %2; valem os textos e as opções embutidos";
  std::string MsgLogNaoCriado = "Não foi possível criar %1";
  std::string MsgPastaRecusada =
      "Não foi possível trabalhar na pasta %1; o Kelpa guarda seus arquivos em %2";
  std::string MsgRunAjudaTraco =
      "Uma opção leva seu valor como --opção=valor ou --opção valor. Em --output, - é a saída"
      " padrão, e --timeline - grava o SVG na saída padrão quando --output nomeia um arquivo. --"
      " encerra as opções: um FILE depois dele pode começar com -.";
  std::string MsgRunAjudaMais = "Mais informações: man kelpa e os guias em /usr/share/doc/kelpa.";
  std::string MsgRunOpcaoSemValor = "opção que não leva valor: %1";
  // The guide window (MSG3360..MSG3369): its caption, the guides it opens, its search.
  std::string MsgGuiaTitulo = "Guia";
  std::string MsgGuiaPasseio = "Passeio pelas janelas";
  std::string MsgGuiaCenarios = "Arquivos de cenário";
  std::string MsgGuiaExecutor = "Linha de comando";
  std::string MsgGuiaVoltar = "Voltar";
  std::string MsgGuiaProcurar = "Procurar:";
  std::string MsgGuiaAnterior = "Anterior";
  std::string MsgGuiaProximo = "Próximo";
  // %1 is the text looked for.
  std::string MsgGuiaNaoEncontrado = "Não encontrado: %1";
  // %1 is the link, which leads to a file the guide does not hold.
  std::string MsgGuiaForaDoGuia = "Fora do guia: %1";
  // The scheduling policies (MSG3370..MSG3379): their names in the scheduling options, in
  // SchedulingPolicy's order, and the processor window's queues under a policy other than the
  // priority kernel.
  std::string MsgPoliticaPrioridade = "Prioridade (padrão)";
  std::string MsgPoliticaFcfs = "FCFS (ordem de chegada)";
  std::string MsgPoliticaRr = "Round-robin (RR)";
  std::string MsgPoliticaSjf = "SJF (menor rajada primeiro)";
  std::string MsgPoliticaSrtf = "SRTF (menor tempo restante)";
  std::string MsgPoliticaMlfq = "Fila multinível com realimentação (MLFQ)";
  std::string MsgFilaUnica = "Fila";
  // %1 is the policy's name.
  std::string MsgFilaUnicaDica = "A única fila de prontos: %1";
  // %1 is the level, 0 the lowest.
  std::string MsgFilaNivel = "N%1";
  std::string MsgFilaNivelDica = "Fila do nível %1; o nível ocupado mais alto é servido primeiro";
  // Homework for a class and the grading of its folder (MSG3390..MSG3419).
  std::string MsgRunAjudaTarefa =
      "gera uma tarefa por aluno da lista LIST (um nome ou número por linha): o cenário sorteado "
      "do [GERAR] da lição LESSON com uma semente tirada da lição e do nome, a folha de exercícios "
      "e o gabarito em PDF, a chave em CSV e a tabela de respostas a preencher, e um índice, "
      "indice.csv e indice.pdf, na pasta FOLDER";
  std::string MsgRunAjudaCorrigirPasta =
      "corrige as respostas (NOME-respostas.csv) de cada aluno de uma pasta gravada por --tarefa "
      "pela sua chave (NOME-gabarito.csv) e imprime um CSV de notas, um aluno por linha";
  std::string MsgTarFaltaOpcao = "--tarefa precisa de --alunos LIST e --saida FOLDER";
  std::string MsgTarSemPdf = "esta versão do kelpa não grava PDF; --tarefa não gravou nada";
  std::string MsgTarSemGerar =
      "a lição não tem seção [GERAR]: não há processos a sortear para cada aluno";
  std::string MsgTarTicksForaDoCenario =
      "TICKS: o último tick pedido, %1, passa do último tick do cenário (%2)";
  std::string MsgTarListaVazia = "a lista não tem nenhum aluno";
  std::string MsgTarAlunoRepetido = "aluno repetido \"%1\" (já na linha %2)";
  std::string MsgTarTituloFolha = "Tarefa: %1";
  std::string MsgTarTituloGabarito = "Gabarito: %1";
  std::string MsgTarAluno = "Aluno: %1 (semente %2)";
  std::string MsgTarCenario = "O cenário";
  std::string MsgTarEstados = "Os estados, do tick %1 ao %2";
  std::string MsgTarEstadosComo =
      "Em cada célula, o estado do processo no fim do tick: %1; ou - antes da chegada e depois do "
      "fim. Na coluna cpu, o que o processador fez no tick: o pid do processo que rodou, IDLE, "
      "INT_PREEMPT, INT_SLICE ou INT_PF.";
  std::string MsgTarTempos = "Os tempos de cada processo, em ticks, ao fim de %1 ticks";
  std::string MsgTarTemposComo =
      "Retorno: do tick da chegada ao do término; espera: os ticks ao fim dos quais o processo "
      "estava pronto; resposta: da chegada ao primeiro despacho. Quem não terminou não tem retorno "
      "(-), quem nunca rodou não tem resposta (-).";
  std::string MsgTarFalhas = "As faltas de página de cada processo ao fim de %1 ticks";
  std::string MsgTarRascunho = "Rascunho";
  std::string MsgTarGravou = "%1 tarefas gravadas em %2";
  std::string MsgCorSemChaves = "nenhuma chave (NOME-gabarito.csv) na pasta";
  std::string MsgCorCorrigida = "corrigida";
  std::string MsgCorNaoEntregue = "não entregue";
  std::string MsgCorIlegivel = "ilegível";
  std::string MsgTarIndiceTitulo = "Índice da tarefa: %1";
  std::string MsgTarIndiceAluno = "Aluno";
  std::string MsgTarIndiceSemente = "Semente";
  std::string MsgTarIndiceArquivos = "Arquivos";
  std::string MsgTarIndiceMedias =
      "Retorno, espera e resposta: as médias em ticks dos processos terminados no gabarito de cada "
      "aluno; %1: quantos terminaram.";
  // The exercise: predicting the next tick.
  std::string MsgExTitulo = "Exercício";
  std::string MsgExPerguntaExecuta = "Tick %1: que processo estará executando ao fim deste tick?";
  std::string MsgExPerguntaEstado =
      "Tick %1: em que estado estará o processo %2 ao fim deste tick?";
  std::string MsgExPerguntaPagina =
      "Tick %1: neste tick a gerência de memória tira uma página de um processo. Que página, e de "
      "que processo?";
  std::string MsgExPerguntaFila =
      "Tick %1: em que ordem estará a fila de prontos ao fim deste tick? (no alto, o primeiro a "
      "ser despachado)";
  std::string MsgExNenhumProcesso = "nenhum processo";
  std::string MsgExProcesso = "processo %1";
  std::string MsgExPaginaDoProcesso = "página %1 do processo %2";
  std::string MsgExCerto = "Certo!";
  std::string MsgExErrado = "Errado: a resposta certa é %1.";
  std::string MsgExNoLog = "No log: %1";
  std::string MsgExSemLinha = "Nenhuma linha do log deste tick trata disso: nada mudou.";
  std::string MsgExPlacar = "Certas: %1   Erradas: %2";
  std::string MsgExPlacarTipo = "%1: certas %2, erradas %3";
  std::string MsgExTipoExecuta = "Quem executa";
  std::string MsgExTipoEstado = "Estado";
  std::string MsgExTipoPagina = "Página";
  std::string MsgExTipoFila = "Fila";
  std::string MsgExResponder = "&Responder";
  std::string MsgExZerar = "Zerar";
  std::string MsgExSubir = "&Subir";
  std::string MsgExDescer = "&Descer";
  std::string MsgExRotuloProcesso = "Processo:";
  std::string MsgExRotuloPagina = "Página:";
  std::string MsgExSemPergunta = "Nenhuma pergunta neste tick: Passo avança.";
  std::string MsgExDicaClique =
      "Também pode escolher o processo com um duplo clique nele na lista de processos ou no "
      "seu disco na Gerência do Processador.";
  std::string MsgGuiaExercicios = "Exercícios";

  // Print and PDF: the document of a run, its pages and its export (MSG3380..MSG3389).
  std::string MsgPdfRodape = "Página %1 de %2";
  std::string MsgPdfTitulo = "Execução de %1";
  std::string MsgPdfCabecalho = "Cenário";
  std::string MsgPdfEstados = "Estados a cada tick";
  std::string MsgPdfExportar = "Exportar PDF...";
  std::string MsgPdfFiltro = "Documento PDF (*.pdf)";
  std::string MsgRunSemPdf = "--pdf: esta cópia do programa não escreve PDF";
  std::string MsgPdfValor = "Valor";
  std::string MsgRunAjudaPdf =
      "--pdf escreve a execução como PDF A4: o cabeçalho, a linha do tempo, as estatísticas e a "
      "tabela de estados, em quantas páginas precisar";

  // Name of a process state 0..8; empty for any other code.
  const std::string& StateName(int state) const;
  // Name of a page location 0..4; "*" for any other code.
  std::string LocationName(int location) const;
  // Name of a scheduling policy 0..5 (SchedulingPolicy's order); empty for any other code.
  const std::string& PolicyName(int policy) const;
};

// One catalogue entry: where it is read from and which text it fills.
struct TMessageEntry {
  const char* Section;
  const char* Key;
  std::string TMessages::*Field;
};

inline constexpr std::size_t kMessageCount = 330;

// All entries in loading order: the whole of MSGLOG, then MSG.
const std::array<TMessageEntry, kMessageCount>& MessageEntries();

// Reads every entry from the settings file at iniPath (a missing file, section or key keeps the
// default; a key present with an empty value gives the empty text). Never writes the file.
void CarregaMensagens(TMessages& messages, const std::string& iniPath);
// The same over layers, lowest precedence first: each entry from the last layer that gives it.
void CarregaMensagens(TMessages& messages, const std::vector<std::string>& layers);

}  // namespace kelpa
