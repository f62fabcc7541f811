// SPDX-License-Identifier: MIT
#include "runner/help_text.h"

#include "exports/program_version.h"
#include "runner/text_table.h"

namespace kelpa {

std::string Wrapped(std::string_view text, std::string_view indent, std::size_t width) {
  std::string wrapped;
  std::string line(indent);
  bool empty = true;  // no word on the line yet
  while (!text.empty()) {
    const auto start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) {
      break;
    }
    text.remove_prefix(start);
    const std::string word(text.substr(0, text.find(' ')));
    text.remove_prefix(word.size());
    if (!empty && Characters(line) + 1 + Characters(word) > width) {
      wrapped += line + '\n';
      line = indent;
      empty = true;
    }
    line += (empty ? "" : " ") + word;
    empty = false;
  }
  return empty ? wrapped : wrapped + line + '\n';
}

void WriteHelp(std::ostream& out, const TMessages& msg) {
  constexpr std::string_view kExplained = "      ";
  out << "Kelpa " << ProgramVersion() << "\n\n"
      << msg.MsgRunUso << '\n'
      << "  kelpa --run FILE [--ticks N] [--set SECTION.KEY=VALUE]...\n"
         "              [--format text|csv|json|states] [--output FILE|-]\n"
         "              [--timeline FILE.svg|FILE.png|-] [--pdf FILE.pdf]\n"
      << Wrapped(msg.MsgRunAjudaRun, kExplained) << Wrapped(msg.MsgRunAjudaPdf, kExplained)
      << "  kelpa --compare FILE --vary SECTION.KEY=V1,V2[,...] [--vary ...]\n"
         "              [--ticks N] [--set SECTION.KEY=VALUE]...\n"
         "              [--format text|csv] [--output FILE|-]\n"
      << Wrapped(msg.MsgRunAjudaCompare, kExplained)
      << "  kelpa --check FILE [--ticks N] [--set SECTION.KEY=VALUE]...\n"
      << Wrapped(msg.MsgRunAjudaCheck, kExplained) << "  kelpa --corrigir KEY ANSWERS\n"
      << Wrapped(msg.MsgRunAjudaCorrigir, kExplained) << "  kelpa --corrigir FOLDER\n"
      << Wrapped(msg.MsgRunAjudaCorrigirPasta, kExplained)
      << "  kelpa --tarefa LESSON --alunos LIST --saida FOLDER\n"
      << Wrapped(msg.MsgRunAjudaTarefa, kExplained) << "  kelpa --help | -h | --version | -V\n\n"
      << Wrapped(msg.MsgRunAjudaTraco, "") << Wrapped(msg.MsgRunAjudaJanelas, "")
      << Wrapped(msg.MsgRunAjudaSaida, "") << '\n'
      << Wrapped(msg.MsgRunAjudaMais, "");
}

}  // namespace kelpa
