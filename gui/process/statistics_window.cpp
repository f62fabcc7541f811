// SPDX-License-Identifier: MIT
#include "gui/process/statistics_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QTimer>
#include <iterator>

#include "catalogue/statistics_captions.h"
#include "exports/csv_exports.h"
#include "gui/common/palette_follower.h"
#include "gui/common/qt_convert.h"
#include "gui/common/readable_text.h"
#include "gui/common/timer_while_shown.h"
#include "gui/language/language.h"
#include "simulation/simulation.h"
#include "simulation/snapshots.h"

namespace kelpa {
namespace {

// Where each caption of kStatisticsCaptions (same order) and its value box stand.
struct FigureLayout {
  int TitleLeft;
  int TitleTop;
  const char* Box;
  int BoxLeft;
  int BoxTop;
};

constexpr FigureLayout kLayout[] = {
    {8, 16, "StaticText1", 133, 14},      {202, 15, "StaticText2", 289, 13},
    {8, 39, "StaticText3", 133, 37},      {171, 39, "StaticText7", 214, 37},
    {260, 39, "StaticText8", 288, 37},    {324, 39, "StaticText9", 367, 38},
    {7, 63, "StaticText15", 133, 61},     {170, 63, "StaticText4", 274, 61},
    {340, 63, "StaticText10", 403, 61},   {8, 87, "StaticText5", 133, 85},
    {170, 87, "StaticText6", 276, 85},    {8, 109, "StaticText12", 133, 108},
    {171, 109, "StaticText13", 258, 108}, {299, 110, "StaticText11", 412, 109},
    {8, 134, "StaticText17", 133, 133},   {170, 133, "StaticText18", 259, 132},
    {298, 134, "StaticText19", 326, 132}, {8, 159, "StaticText14", 133, 158},
    {170, 159, "StaticText16", 259, 157}, {296, 159, "StaticText20", 372, 157},
    {392, 160, "StaticText21", 463, 159},
};
static_assert(std::size(kLayout) == kStatisticsCaptions.size());

}  // namespace

TEstatisticas::TEstatisticas(Simulation& sim, TLanguage* language, QWidget* parent)
    : QWidget(parent, Qt::Window), sim_(sim) {
  setObjectName(QStringLiteral("Estatisticas"));
  // The figures sit at fixed places: where the classic font is missing, a narrow face keeps the
  // titles clear of the value boxes.
  QFont font = ClassicFont(QStringLiteral("MS Sans Serif"), 8);
  font.setStretch(QFont::Condensed);
  setFont(font);
  // Outer 500 x 222 less a sizeable border and the caption bar.
  resize(492, 195);
  move(475, 498);
  BuildControls();

  SetBox("StaticText1", ToQString(FormatTimeOfDay(SnapshotStatistics(sim_).StartTime)));
  setWindowTitle(ToQString(sim_.Msg.MsgTitEstatisticas));
  TranslateForm(language, "STAT", this);
  for (const char* name : {"StaticText10", "StaticText11", "StaticText13", "StaticText16"}) {
    SetBox(name, QStringLiteral("0"));
  }

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &TEstatisticas::Timer1Timer);
  new TimerWhileShown(this, Timer1, [this] { Timer1Timer(); });
}

void TEstatisticas::BuildControls() {
  auto* group = new QGroupBox(this);
  group->setObjectName(QStringLiteral("GroupBox1"));
  group->setGeometry(0, 0, 492, 193);
  for (std::size_t i = 0; i < kStatisticsCaptions.size(); ++i) {
    const FigureLayout& figure = kLayout[i];
    auto* title = new QLabel(QString::fromUtf8(kStatisticsCaptions[i].Caption), group);
    title->setObjectName(QString::fromLatin1(kStatisticsCaptions[i].Label));
    title->move(figure.TitleLeft, figure.TitleTop);
    title->adjustSize();

    auto* box = new QLabel(group);
    box->setObjectName(QString::fromLatin1(figure.Box));
    box->move(figure.BoxLeft, figure.BoxTop);
    box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    box->setAutoFillBackground(true);
    box->adjustSize();
    boxes_[figure.Box] = box;
  }
  // The figures stand on the theme's highlighted-text colour, in whichever of black and white
  // reads on it, again after a change of look.
  new PaletteFollower(group, [this] {
    for (const auto& [name, box] : boxes_) {
      QPalette palette = box->palette();
      const QColor background = QApplication::palette(box).color(QPalette::HighlightedText);
      palette.setColor(QPalette::Window, background);
      palette.setColor(QPalette::WindowText, ReadableTextColour(background));
      box->setPalette(palette);
    }
  });
  auto* exportCsv = new QAction(ToQString(sim_.Msg.MsgExportarCsv), this);
  exportCsv->setObjectName(QStringLiteral("ExportarCsv1"));
  connect(exportCsv, &QAction::triggered, this, [this] { ExportCsvClick(); });
  addAction(exportCsv);
  auto* exportPdf = new QAction(ToQString(sim_.Msg.MsgPdfExportar), this);
  exportPdf->setObjectName(QStringLiteral("ExportarPdf1"));
  connect(exportPdf, &QAction::triggered, this, [this] {
    if (ExportPdf) {
      ExportPdf();
    }
  });
  addAction(exportPdf);
  auto* ticks = new QAction(ToQString(sim_.Msg.MsgTicksAbrir), this);
  ticks->setObjectName(QStringLiteral("ProcessosEmTicks1"));
  connect(ticks, &QAction::triggered, this, [this] { emit ticksRequested(); });
  addAction(ticks);
  setContextMenuPolicy(Qt::ActionsContextMenu);
}

std::string TEstatisticas::CsvText() {
  // The captions as the window shows them, in the language it is in.
  StatisticsCaptionTexts captions;
  for (std::size_t i = 0; i < kStatisticsCaptions.size(); ++i) {
    const auto* label = findChild<QLabel*>(QString::fromLatin1(kStatisticsCaptions[i].Label));
    captions[i] = label != nullptr ? label->text().trimmed().toStdString() : std::string();
  }
  return StatisticsCsv(StatisticRows(ComputeStatisticsNumbers(ReadInputs()), captions));
}

bool TEstatisticas::ExportCsvTo(const QString& file) {
  return Export.Write(this, file, CsvText(), ToQString(sim_.Msg.MsgNaoGravouArquivo));
}

void TEstatisticas::ExportCsvClick() {
  const QString file = Export.Choose(this, ToQString(sim_.Msg.MsgFiltroCsv), "csv");
  if (!file.isEmpty()) {
    ExportCsvTo(file);
  }
}

void TEstatisticas::SetBox(const char* name, const std::optional<QString>& text) {
  if (!text) {
    return;
  }
  QLabel* box = boxes_.at(name);
  box->setText(*text);
  box->adjustSize();
}

StatisticsInputs TEstatisticas::ReadInputs() {
  return SnapshotStatistics(sim_);
}

void TEstatisticas::Timer1Timer() {
  ShowFigures(ComputeStatistics(ReadInputs(), Locale));
}

void TEstatisticas::ShowFigures(const StatisticsFigures& f) {
  SetBox("StaticText1", f.StartTime);
  SetBox("StaticText2", f.Elapsed);
  SetBox("StaticText3", f.Processes);
  SetBox("StaticText15", f.Dispatches);
  SetBox("StaticText4", f.Throughput);
  SetBox("StaticText5", f.CpuSeconds);
  SetBox("StaticText6", f.Utilisation);
  SetBox("StaticText7", f.Ready);
  SetBox("StaticText8", f.Running);
  SetBox("StaticText9", f.Waiting);
  SetBox("StaticText10", f.Turnaround);
  SetBox("StaticText12", f.ReadyWaitTotal);
  SetBox("StaticText13", f.ReadyWaitMean);
  SetBox("StaticText11", f.ReadyWaitPerDispatch);
  SetBox("StaticText14", f.PageFaults);
  SetBox("StaticText16", f.PageFaultRate);
  SetBox("StaticText20", f.HardFaults);
  SetBox("StaticText21", f.SoftFaults);
  SetBox("StaticText17", f.MemorySize);
  SetBox("StaticText18", f.MemoryInUse);
  SetBox("StaticText19", f.FreePercent);
}

void TEstatisticas::closeEvent(QCloseEvent* event) {
  event->accept();
  emit closed();
}

}  // namespace kelpa
