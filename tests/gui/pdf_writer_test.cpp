// SPDX-License-Identifier: MIT
// The PDF writer, read back with poppler's pdftotext and pdfinfo: a lesson's run and a long run
// over many pages, the table's column names atop every page it fills and each of its rows whole
// on one page, the footer's page count, a table far too wide split rather than cut, and a file
// that cannot be written leaving nothing behind.
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <set>

#include "catalogue/messages.h"
#include "exports/program_version.h"
#include "gui/print/pdf_writer.h"
#include "platform/sha256.h"
#include "runner/run_document.h"
#include "scenario/scenario_reader.h"

using namespace kelpa;

namespace {

QString Tool(const QString& program, const QStringList& args) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) {
    qFatal("%s failed: install poppler-utils (scripts/install-deps)", qPrintable(program));
  }
  return QString::fromUtf8(process.readAllStandardOutput());
}

int Pages(const QString& file) {
  const auto match = QRegularExpression("Pages:\\s+(\\d+)").match(Tool("pdfinfo", {file}));
  return match.hasMatch() ? match.captured(1).toInt() : 0;
}

QString PageText(const QString& file, int page) {
  const QString n = QString::number(page);
  return Tool("pdftotext", {"-layout", "-f", n, "-l", n, file, "-"});
}

// Each line of the page as its words, one space apart.
std::set<QString> Lines(const QString& text) {
  std::set<QString> lines;
  for (const QString& line : text.split('\n')) {
    lines.insert(line.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts).join(' '));
  }
  return lines;
}

QString Words(const std::vector<std::string>& cells) {
  QStringList words;
  for (const std::string& cell : cells) {
    words << QString::fromStdString(cell);
  }
  return words.join(' ');
}

// The lesson's run as the runner prints it, with its ticks given.
PrintDocument LessonDocument(const std::string& ticks) {
  const std::string file = KELPA_LESSONS_DIR "/01-prioridade-e-fatia.ini";
  const TMessages msg;
  ScenarioError error;
  const auto bytes = ReadScenarioBytes(file, msg, error);
  const auto reading = ParseScenario(*bytes, file, msg, {{"CENARIO", "TICKS", ticks, "--ticks"}});
  const RunHeader header{std::string(ProgramVersion()), file, Sha256Hex(*bytes), false,
                         &*reading.Value};
  return ScenarioRunDocument(header, "01-prioridade-e-fatia.ini", msg,
                             LoadStatisticsCaptions(false));
}

const PrintTable& LastTable(const PrintDocument& doc) {
  const PrintTable* last = nullptr;
  for (const PrintBlock& block : doc.Blocks) {
    last = block.What == PrintBlock::Kind::Table ? &block.Table : last;
  }
  return *last;
}

}  // namespace

class PdfWriterTest : public QObject {
  Q_OBJECT

 private slots:
  void aLessonAndALongRunReadBackWhole() {
    QTemporaryDir dir;
    for (const char* ticks : {"150", "2000"}) {
      const PrintDocument doc = LessonDocument(ticks);
      const QString file = dir.filePath(QStringLiteral("run-%1.pdf").arg(ticks));
      std::string why;
      QVERIFY2(WritePdf(doc, file.toStdString(), &why), why.c_str());
      const int pages = Pages(file);
      QVERIFY(pages > 1);
      QVERIFY(Tool("pdfinfo", {file}).contains("Execução de 01-prioridade-e-fatia.ini"));
      const PrintTable& states = LastTable(doc);
      std::set<std::size_t> found;  // the rows read whole on some page
      bool inTable = false;
      for (int page = 1; page <= pages; ++page) {
        const QString text = PageText(file, page);
        QVERIFY(text.contains(QStringLiteral("Página %1 de %2").arg(page).arg(pages)));
        if (page == 1) {
          QVERIFY(text.contains("Execução de 01-prioridade-e-fatia.ini"));
          QVERIFY(text.contains("SHA-256"));
          QVERIFY(text.contains("TITULO=Prioridades e fatia de tempo"));
        }
        inTable = inTable || text.contains("Estados a cada tick");
        const auto lines = Lines(text);
        // Every page the table fills is headed by its column names.
        QVERIFY2(!inTable || lines.contains(Words(states.Columns)),
                 qPrintable(QStringLiteral("page %1").arg(page)));
        for (std::size_t r = 0; r < states.Rows.size(); ++r) {
          if (lines.contains(Words(states.Rows[r]))) {
            found.insert(r);
          }
        }
      }
      QCOMPARE(found.size(), states.Rows.size());
    }
  }

  // A worksheet's kinds of block: a wrapped paragraph keeps every word in order, a ruled table
  // with blanks, room to write, and a page break starting the next page.
  void everyKindOfBlockHasItsPlace() {
    PrintDocument doc;
    doc.Title = "Folha";
    doc.PageFooter = "%1/%2";
    const auto add = [&doc](PrintBlock::Kind what, std::string text = {}) {
      PrintBlock block;
      block.What = what;
      block.Text = std::move(text);
      doc.Blocks.push_back(block);
      return &doc.Blocks.back();
    };
    add(PrintBlock::Kind::Title, "Folha de exercícios");
    QStringList words;
    for (int i = 0; i < 200; ++i) {
      words << QStringLiteral("palavra%1").arg(i);
    }
    add(PrintBlock::Kind::Paragraph, words.join(' ').toStdString());
    add(PrintBlock::Kind::Preformatted, "FATIA=3\n  RELOGIO=10\n");
    PrintBlock* table = add(PrintBlock::Kind::Table);
    table->Table.Columns = {"tick", "P1", "P2"};
    table->Table.Rows = {{"0", "", ""}, {"1", "", ""}};
    table->Table.Ruled = true;
    add(PrintBlock::Kind::WritingSpace)->Lines = 4;
    add(PrintBlock::Kind::PageBreak);
    add(PrintBlock::Kind::Heading, "Respostas");
    QTemporaryDir dir;
    const QString file = dir.filePath("sheet.pdf");
    QVERIFY(WritePdf(doc, file.toStdString()));
    QCOMPARE(Pages(file), 2);
    const QString first = PageText(file, 1);
    const QStringList read = first.split(QRegularExpression("\\s+"), Qt::SkipEmptyParts)
                                 .filter(QRegularExpression("^palavra\\d+$"));
    QCOMPARE(read, words);
    QVERIFY(first.contains("RELOGIO=10") && first.contains("tick") && first.contains("1/2"));
    QVERIFY(!first.contains("Respostas"));
    QVERIFY(PageText(file, 2).contains("Respostas"));
    QVERIFY(PageText(file, 2).contains("2/2"));
    QVERIFY(Tool("pdfinfo", {file}).contains("Folha"));
  }

  void aTableFarTooWideIsSplitNotCut() {
    PrintDocument doc;
    PrintBlock block;
    block.What = PrintBlock::Kind::Table;
    for (int c = 0; c < 60; ++c) {
      block.Table.Columns.push_back(QStringLiteral("Coluna%1").arg(c).toStdString());
    }
    for (int r = 0; r < 3; ++r) {
      std::vector<std::string> row;
      for (int c = 0; c < 60; ++c) {
        row.push_back(QStringLiteral("v%1x%2").arg(r).arg(c).toStdString());
      }
      block.Table.Rows.push_back(row);
    }
    doc.Blocks.push_back(block);
    QTemporaryDir dir;
    const QString file = dir.filePath("wide.pdf");
    QVERIFY(WritePdf(doc, file.toStdString()));
    const QString text = Tool("pdftotext", {file, "-"});
    for (int c = 0; c < 60; ++c) {
      QVERIFY(text.contains(QStringLiteral("Coluna%1").arg(c)));
      QVERIFY(text.contains(QStringLiteral("v2x%1").arg(c)));
    }
  }

  void aFileThatCannotBeWrittenLeavesNothing() {
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir("taken.pdf"));
    PrintDocument doc;
    doc.Title = "x";
    std::string why;
    QVERIFY(!WritePdf(doc, dir.filePath("taken.pdf").toStdString(), &why));
    QVERIFY(!why.empty());
    QVERIFY(!WritePdf(doc, dir.filePath("missing/x.pdf").toStdString()));
    QCOMPARE(QDir(dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries),
             QStringList{"taken.pdf"});
  }
};

QTEST_MAIN(PdfWriterTest)
#include "pdf_writer_test.moc"
