// SPDX-License-Identifier: MIT
// The timeline window over a lesson run tick by tick: it follows the newest tick until scrolled
// back, tells the state under the mouse, exports the whole run or the visible range as PNG of
// the size of the range at the zoom and as SVG with a lane per process, reports a failed write,
// exports the run kept as PDF, and the log and statistics windows export their csv.
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <QtTest>
#include <memory>

#include "catalogue/statistics_captions.h"
#include "gui/print/pdf_export.h"
#include "gui/process/statistics_window.h"
#include "gui/timeline/timeline_view.h"
#include "gui/timeline/timeline_window.h"
#include "scenario/scenario_reader.h"
#include "scenario/scenario_run.h"
#include "simulation/event_fan_out.h"
#include "support/recording_log.h"

using namespace kelpa;

namespace {

// A lesson's run with the window following it; the ticks are run by the test.
struct LessonWithTimeline {
  explicit LessonWithTimeline(const QString& file)
      : lesson(*ReadScenarioFile(file.toStdString(), msg).Value), sim(clock, log, display, msg) {
    sim.SetEvents(&events);
    window = std::make_unique<TimelineWindow>(sim, msg, events);
    run = std::make_unique<ScenarioRun>(sim, clock, lesson);
  }
  ~LessonWithTimeline() {
    run.reset();
    window.reset();
  }

  TMessages msg;
  Scenario lesson;
  VirtualClock clock;
  test::RecordingLog log;
  NullDisplay display;
  EventFanOut events;
  Simulation sim;
  std::unique_ptr<TimelineWindow> window;
  std::unique_ptr<ScenarioRun> run;
};

QString Lesson() {
  return QFINDTESTDATA("../../examples/scenarios/05-swapping.ini");
}

// Names of the SVG's groups; fails the test on a document that does not parse.
QStringList SvgGroups(const QString& file) {
  QFile in(file);
  if (!in.open(QIODevice::ReadOnly)) {
    return {};
  }
  QXmlStreamReader xml(&in);
  QStringList groups;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("g")) {
      groups << xml.attributes().value("id").toString();
    }
  }
  return xml.hasError() ? QStringList{"error: " + xml.errorString()} : groups;
}

}  // namespace

class TimelineWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void followsTheNewestTickUntilScrolledBack() {
    LessonWithTimeline t(Lesson());
    t.window->resize(700, 400);
    t.window->show();
    t.run->RunTo(150);
    t.window->Refresh();
    TimelineView* view = t.window->View();
    const std::int64_t visible = view->VisibleTicks();
    QVERIFY(visible < 150);
    QCOMPARE(view->First(), 150 - visible);
    QVERIFY(t.window->Following());

    auto* scroll = t.window->findChild<QScrollBar*>("ScrollTicks");
    scroll->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(view->First(), std::int64_t{0});
    QVERIFY(!t.window->Following());
    t.run->RunTo(200);
    t.window->Refresh();
    QCOMPARE(view->First(), std::int64_t{0});
    scroll->triggerAction(QAbstractSlider::SliderToMaximum);
    QVERIFY(t.window->Following());
    QCOMPARE(view->First(), 200 - visible);

    // Zoom keeps following; fitting shows the whole run.
    t.window->ZoomBy(-1);
    QCOMPARE(view->TickWidth(), 2.0);
    t.window->Fit();
    QCOMPARE(view->First(), std::int64_t{0});
    QVERIFY(view->VisibleTicks() >= 200);
  }

  // A long class keeps only the newest ticks: scrolling, fitting and exporting start at the
  // oldest one kept.
  void keepsOnlyTheNewestTicks() {
    LessonWithTimeline t(Lesson());
    t.window->show();
    const std::int64_t past = 300;
    t.run->RunTo(kLiveTicksKept + past);
    t.window->Refresh();
    QCOMPARE(t.window->Model().FirstTick(), past);
    auto* scroll = t.window->findChild<QScrollBar*>("ScrollTicks");
    scroll->triggerAction(QAbstractSlider::SliderToMinimum);
    QCOMPARE(t.window->View()->First(), past);
    t.window->Fit();
    QCOMPARE(t.window->View()->First(), past);
    QTemporaryDir folder;
    QVERIFY(t.window->ExportTo(folder.filePath("kept.png"), true));
    TimelineFrame kept;
    kept.First = past;
    kept.Last = kLiveTicksKept + past - 1;
    kept.TickWidth = t.window->View()->TickWidth();
    QCOMPARE(QImage(folder.filePath("kept.png")).width(), int(TimelineLayout(kept, 0).Width()));
  }

  void hoverTellsTickStateAndPriority() {
    LessonWithTimeline t(Lesson());
    t.window->resize(900, 400);
    t.window->show();
    t.run->RunTo(100);
    t.window->Fit();
    TimelineView* view = t.window->View();
    std::unique_ptr<TimelineFrame> frame;
    {
      std::lock_guard lock(t.sim.Lock);
      frame = std::make_unique<TimelineFrame>(view->Frame());
    }
    const TimelineLayout layout(*frame, t.window->Model().Lanes().size());
    const double x = layout.X(40) + frame->TickWidth / 2;
    const QString lane = view->TextAt(QPointF(x, layout.RowTop(2) + 5));
    const TimelineLane& first = t.window->Model().Lanes().front();
    const ProcessState state = *TimelineModel::StateAt(first, 40);
    QVERIFY2(lane.contains(QString::fromStdString(t.msg.StateName(int(state)))), qPrintable(lane));
    QVERIFY(lane.contains("40"));
    QVERIFY(lane.contains(QString::fromStdString(t.msg.MsgLinhaPrioridade)));
    QVERIFY(view->TextAt(QPointF(x, layout.RowTop(0) + 5))
                .contains(QString::fromStdString(t.msg.MsgLinhaProcessador)));
    QVERIFY(view->TextAt(QPointF(5, layout.RowTop(2) + 5)).isEmpty());
  }

  void exportsAreTheWholeRangeAtTheZoom() {
    QTemporaryDir folder;
    LessonWithTimeline t(Lesson());
    t.window->resize(600, 400);
    t.window->show();
    t.run->RunTo(150);
    t.window->Refresh();
    const double zoom = t.window->View()->TickWidth();
    const std::size_t lanes = t.window->Model().Lanes().size();
    QCOMPARE(lanes, t.lesson.Processes.size());

    struct Case {
      bool Whole;
      std::int64_t Ticks;
    };
    for (const Case c : {Case{true, 150}, Case{false, t.window->View()->VisibleTicks()}}) {
      const QString png = folder.filePath(c.Whole ? "whole.png" : "visible.png");
      QVERIFY(t.window->ExportTo(png, c.Whole));
      const QImage image(png);
      const int width = int(std::ceil(TimelineLayout::kLabelWidth + double(c.Ticks) * zoom +
                                      TimelineLayout::kMargin));
      QCOMPARE(image.width(), std::max(width, int(2 * TimelineLayout::kLegendColumn + 16)));
      TimelineFrame frame;
      frame.Last = c.Ticks - 1;
      frame.TickWidth = zoom;
      frame.Header.resize(3);  // the title and the two lines of options
      QCOMPARE(image.height(), int(TimelineLayout(frame, lanes).Height()));
    }

    const QString svg = folder.filePath("whole.svg");
    QVERIFY(t.window->ExportTo(svg, true));
    const QStringList groups = SvgGroups(svg);
    QCOMPARE(groups.filter(QRegularExpression("^lane-")).size(), qsizetype(lanes));
    QVERIFY(groups.contains("processor") && groups.contains("device") && groups.contains("legend"));
  }

  void aFailedExportIsToldAndLeavesTheFileAlone() {
    QTemporaryDir folder;
    LessonWithTimeline t(Lesson());
    t.run->RunTo(20);
    QStringList errors;
    t.window->Export.ShowError = [&](const QString& text) { errors << text; };
    QVERIFY(QDir(folder.path()).mkdir("taken.png"));
    QVERIFY(!t.window->ExportTo(folder.filePath("taken.png"), true));
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.front().contains("taken.png"));
    QVERIFY(QFileInfo(folder.filePath("taken.png")).isDir());
    // Wider than an image may be: told, nothing written; the SVG has no such limit.
    t.run->RunTo(2000);
    t.window->ZoomBy(5);
    QVERIFY(!t.window->ExportTo(folder.filePath("huge.png"), true));
    const auto size = QRegularExpression("(\\d+) x (\\d+)").match(errors.last());
    QVERIFY(size.hasMatch());
    QVERIFY(std::max(size.captured(1).toInt(), size.captured(2).toInt()) > kMaxImageSide);
    QVERIFY(!QFileInfo::exists(folder.filePath("huge.png")));
    QVERIFY(t.window->ExportTo(folder.filePath("huge.svg"), true));
    t.window->ZoomBy(-5);
    // The file dialog's name without a suffix gets the image's.
    t.window->Export.ChooseFile = [&](const QString&) { return folder.filePath("chosen"); };
    t.window->ExportClick(true);
    QVERIFY(QFileInfo::exists(folder.filePath("chosen.png")));
  }

  // The run kept, as a document: its ticks in the timeline and in the table of states; written
  // as PDF, or told when it cannot be.
  void exportsTheRunKeptAsPdf() {
    QTemporaryDir folder;
    LessonWithTimeline t(Lesson());
    t.run->RunTo(30);
    const PrintDocument doc = t.window->RunDocument();
    const PrintBlock* timeline = nullptr;
    const PrintBlock* states = nullptr;
    for (const PrintBlock& block : doc.Blocks) {
      timeline = block.What == PrintBlock::Kind::Timeline ? &block : timeline;
      states = block.What == PrintBlock::Kind::Table ? &block : states;
    }
    QVERIFY(timeline != nullptr && states != nullptr);
    QCOMPARE(timeline->Timeline.Frame.Last, std::int64_t(29));
    QCOMPARE(states->Table.Rows.size(), std::size_t(30));
    QCOMPARE(states->Table.Columns.size(), t.window->Model().Lanes().size() + 2);
    QStringList errors;
    t.window->Export.ShowError = [&](const QString& text) { errors << text; };
    QVERIFY(QDir(folder.path()).mkdir("taken.pdf"));
    QVERIFY(
        !ExportPdfTo(t.window.get(), t.window->Export, doc, folder.filePath("taken.pdf"), t.msg));
    QCOMPARE(errors.size(), 1);
    QVERIFY(errors.front().contains("taken.pdf"));
    t.window->Export.ChooseFile = [&](const QString&) { return folder.filePath("run"); };
    ExportPdfClick(
        t.window.get(), t.window->Export, [&] { return doc; }, t.msg);
    QFile written(folder.filePath("run.pdf"));
    QVERIFY(written.open(QIODevice::ReadOnly));
    QVERIFY(written.read(5) == "%PDF-");
  }

  void logAndStatisticsExportTheirCsv() {
    QTemporaryDir folder;
    LessonWithTimeline t(Lesson());
    t.run->RunTo(30);
    const std::string csv = t.window->EventsCsvText();
    QVERIFY(csv.find("tick,ms,event,pid,from,to,page,value,cpu_ms,lifetime_ms,line\n") !=
            std::string::npos);
    std::size_t rows = 0;
    for (std::size_t at = csv.find('\n'); at != std::string::npos; at = csv.find('\n', at + 1)) {
      rows += csv.compare(at + 1, 1, "#") != 0 && at + 1 < csv.size() ? 1 : 0;
    }
    QCOMPARE(rows, t.window->Model().Events().size() + 1);  // the column names and the events

    TEstatisticas statistics(t.sim);
    const QString file = folder.filePath("figures.csv");
    QVERIFY(statistics.ExportCsvTo(file));
    QFile in(file);
    QVERIFY(in.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(in.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines.front(), QString("key,caption,value"));
    QCOMPARE(lines.size(), qsizetype(kStatisticsCaptions.size() + 1));
  }
};

QTEST_MAIN(TimelineWindowTest)
#include "timeline_window_test.moc"
