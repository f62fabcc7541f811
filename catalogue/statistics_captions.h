// SPDX-License-Identifier: MIT
// The statistics window's captions, in its reading order (left to right, top to bottom). The
// window and the runner both label the figures with them; kelpa.ini's [STAT] section replaces
// them by their label names.
#pragma once

#include <array>

namespace kelpa {

struct StatisticsCaption {
  const char* Label;    // the window's label, and the key in [STAT]
  const char* Caption;  // built-in text
};

inline constexpr std::array<StatisticsCaption, 21> kStatisticsCaptions = {{
    {"Label1", "Hora do Início"},
    {"Label2", "Tempo Decorrido"},
    {"Label3", "Número de Processos"},
    {"Label7", "Prontos"},
    {"Label8", "Exec"},
    {"Label10", "Espera"},
    {"Label17", "Processos Escalonados"},
    {"Label4", "Throughput (Proc/s)"},
    {"Label11", "Turnaround"},
    {"Label5", "Tempo Total de CPU (s)"},
    {"Label6", " Utilização UCP (%)"},
    {"Label13", "Estado Pronto Espera (s)"},
    {"Label14", "Espera Média (s)"},
    {"Label15", "Espera Acumulada (s)"},
    {"Label20", "Memória (bytes)"},
    {"Label21", "Memória em uso"},
    {"Label22", "Livre"},
    {"Label18", "Total Page Fault"},
    {"Label19", "Page Faults/seg"},
    {"Label23", "Hw page fault"},
    {"Label24", "Sw page fault"},
}};

}  // namespace kelpa
