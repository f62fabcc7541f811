// SPDX-License-Identifier: MIT
#include "gui/process/pcb_window.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QToolButton>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "gui/common/column_fit.h"
#include "gui/common/qt_convert.h"
#include "gui/common/readable_text.h"
#include "gui/common/timer_while_shown.h"
#include "gui/language/language.h"
#include "simulation/program.h"
#include "simulation/run_options.h"
#include "simulation/simulation.h"
#include "simulation/snapshots.h"

namespace kelpa {
namespace {

constexpr int kGridColumnWidths[] = {64, 34, 33, 31, 36};
constexpr int kGridColumns = 5;
// The reference bit's and the order of use's columns, after the five above.
constexpr int kAddedColumnWidth = 36;
constexpr int kGridWidth = 200;
constexpr int kWindowWidth = 210;
constexpr int kGridRows = 6;
constexpr int kGridRowHeight = 20;

QLabel* MakeLabel(const char* name, const QString& caption, int left, int top, QWidget* parent) {
  auto* label = new QLabel(caption, parent);
  label->setObjectName(QString::fromLatin1(name));
  label->move(left, top);
  label->adjustSize();
  return label;
}

QLabel* MakeValueBox(const char* name, const QRect& geometry, QWidget* parent) {
  auto* box = new QLabel(parent);
  box->setObjectName(QString::fromLatin1(name));
  box->setGeometry(geometry);
  box->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  box->setAutoFillBackground(true);
  QPalette palette = box->palette();
  palette.setColor(QPalette::Window, Qt::white);
  palette.setColor(QPalette::WindowText, Qt::black);
  box->setPalette(palette);
  return box;
}

void SetCell(QTableWidget* grid, int row, int column, const QString& text) {
  QTableWidgetItem* item = grid->item(row, column);
  if (item == nullptr) {
    item = new QTableWidgetItem;
    item->setFlags(Qt::ItemIsEnabled);
    if (row == 0 || column == 0) {
      item->setBackground(QColor(192, 192, 192));
    }
    grid->setItem(row, column, item);
  }
  item->setText(text);
}

}  // namespace

TPCB::TPCB(Simulation& sim, TLanguage* language, QWidget* parent)
    : QWidget(parent, Qt::Window), sim_(sim), language_(language) {
  setObjectName(QStringLiteral("PCB"));
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  setFont(ClassicFont(QStringLiteral("MS Sans Serif"), 8));
  // Outer 218 x 262 less a sizeable border and the caption bar.
  resize(kWindowWidth, 235);
  move(515, 462);
  setWindowTitle(ToQString(sim_.Msg.MsgTitPCB));
  BuildControls();

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, &TPCB::Timer1Timer);
  // The show event refreshes the window itself.
  new TimerWhileShown(this, Timer1);
}

void TPCB::BuildControls() {
  TGroupBox1 = new QGroupBox(this);
  TGroupBox1->setObjectName(QStringLiteral("TGroupBox1"));
  TGroupBox1->setGeometry(0, 0, kWindowWidth, 235);

  PageControl1 = new QTabWidget(TGroupBox1);
  PageControl1->setObjectName(QStringLiteral("PageControl1"));
  PageControl1->setGeometry(2, 8, 206, 194);
  auto* first = new QWidget;
  first->setObjectName(QStringLiteral("TabSheet1"));
  auto* second = new QWidget;
  second->setObjectName(QStringLiteral("TabSheet2"));
  PageControl1->addTab(first, QStringLiteral("PCB"));
  PageControl1->addTab(second, QStringLiteral("PPT"));
  PageControl1->setCurrentIndex(0);
  BuildFirstPage(first);
  BuildPageTable(second);
  programPage_ = new QWidget(this);
  programPage_->setObjectName(QStringLiteral("TabSheet3"));
  programPage_->hide();
  programText_ = new QLabel(programPage_);
  programText_->setObjectName(QStringLiteral("StaticText9"));
  programText_->setGeometry(4, 4, 194, 160);
  programText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  programText_->setWordWrap(true);

  StaticText1 = MakeValueBox("StaticText1", QRect(148, 8, 56, 18), TGroupBox1);
  StaticText1->setAlignment(Qt::AlignCenter);
  StaticText1->raise();

  auto* previous = new QToolButton(TGroupBox1);
  previous->setObjectName(QStringLiteral("SpeedButton1"));
  previous->setArrowType(Qt::LeftArrow);
  previous->setAutoRaise(true);
  previous->setGeometry(78, 206, 25, 23);
  connect(previous, &QToolButton::clicked, this, &TPCB::SpeedButton1Click);
  auto* next = new QToolButton(TGroupBox1);
  next->setObjectName(QStringLiteral("SpeedButton2"));
  next->setArrowType(Qt::RightArrow);
  next->setAutoRaise(true);
  next->setGeometry(106, 206, 25, 23);
  connect(next, &QToolButton::clicked, this, &TPCB::SpeedButton2Click);
}

void TPCB::BuildFirstPage(QWidget* page) {
  constexpr int kBoxLeft = 94;
  constexpr int kBoxHeight = 17;
  MakeLabel("Label2", QStringLiteral("PrioBase/Din"), 8, 10, page);
  valueBoxes_[2] = MakeValueBox("StaticText2", QRect(kBoxLeft, 8, 34, kBoxHeight), page);
  MakeLabel("Label1", QStringLiteral("/"), 132, 10, page);
  valueBoxes_[3] = MakeValueBox("StaticText3", QRect(140, 8, 34, kBoxHeight), page);
  struct Line {
    const char* Label;
    const char* Caption;
    const char* Box;
    int Number;
  };
  const Line lines[] = {{"Label4", "Estado", "StaticText4", 4},
                        {"Label5", "Hora criação", "StaticText5", 5},
                        {"Label6", "Tempo de UCP", "StaticText6", 6},
                        {"Label7", "Frames", "StaticText7", 7},
                        {"Label8", "PC", "StaticText8", 8}};
  int top = 32;
  for (const Line& line : lines) {
    MakeLabel(line.Label, QString::fromUtf8(line.Caption), 8, top + 2, page);
    valueBoxes_[static_cast<std::size_t>(line.Number)] =
        MakeValueBox(line.Box, QRect(kBoxLeft, top, 94, kBoxHeight), page);
    top += 24;
  }
}

void TPCB::BuildPageTable(QWidget* page) {
  stg1 = new QTableWidget(kGridRows, kGridColumns, page);
  stg1->setObjectName(QStringLiteral("stg1"));
  stg1->setGeometry(0, 0, kGridWidth, 168);
  stg1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  stg1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  stg1->horizontalHeader()->hide();
  stg1->verticalHeader()->hide();
  stg1->verticalHeader()->setMinimumSectionSize(kGridRowHeight);
  stg1->verticalHeader()->setDefaultSectionSize(kGridRowHeight);
  stg1->horizontalHeader()->setMinimumSectionSize(8);
  FitGridColumns(stg1, kGridColumnWidths, {});
  stg1->setEditTriggers(QAbstractItemView::NoEditTriggers);
  stg1->setSelectionMode(QAbstractItemView::NoSelection);
  stg1->setFocusPolicy(Qt::NoFocus);
}

void TPCB::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  inShowEvent_ = true;
  Refresh();
  inShowEvent_ = false;
}

void TPCB::Timer1Timer() {
  if (isVisible()) {
    Refresh();
  }
}

void TPCB::Refresh() {
  setWindowTitle(ToQString(sim_.Msg.MsgTitPCB));
  TranslateForm(language_, "PCB", this);
  const std::optional<ProcessDetail> shot = SnapshotProcess(sim_, ProcessIndex);
  if (!shot) {
    // Hiding from inside the show event would leave the native window up; do it right after.
    if (inShowEvent_) {
      QMetaObject::invokeMethod(this, &QWidget::hide, Qt::QueuedConnection);
    } else {
      hide();
    }
    return;
  }
  ProcessIndex = shot->Index;
  ShowSnapshot(*shot);
  ShowPageTable(*shot);
  ShowProgram(*shot);
}

void TPCB::ShowSnapshot(const ProcessDetail& shot) {
  StaticText1->setText(QString::number(shot.PID));
  const QColor background = ToQColor(shot.Color);
  QPalette palette = StaticText1->palette();
  palette.setColor(QPalette::Window, background);
  palette.setColor(QPalette::WindowText, ReadableTextColour(background));
  StaticText1->setPalette(palette);

  valueBoxes_[2]->setText(QString::number(shot.BasePriority));
  valueBoxes_[3]->setText(QString::number(shot.Priority));
  // An unknown state code leaves the box as it was.
  const std::string& state = StateName(sim_.Msg, shot.State);
  if (!state.empty()) {
    valueBoxes_[4]->setText(ToQString(state));
  }
  valueBoxes_[5]->setText(ToQString(FormatTimeOfDay(shot.CreatedAt)));
  valueBoxes_[6]->setText(ToQString(FormatTimeOfDay(shot.CpuTime)));
  valueBoxes_[7]->setText(QString::number(shot.FrameLimit));
  valueBoxes_[8]->setText(QString::number(shot.PC));
}

void TPCB::SetPageTableColumns(int columns) {
  if (stg1->columnCount() == columns) {
    return;
  }
  stg1->setColumnCount(columns);
  const int added = (columns - kGridColumns) * kAddedColumnWidth;
  stg1->resize(kGridWidth + added, stg1->height());
  PageControl1->resize(kGridWidth + 6 + added, PageControl1->height());
  TGroupBox1->resize(kWindowWidth + added, TGroupBox1->height());
  resize(kWindowWidth + added, height());
}

void TPCB::ShowPageTable(const ProcessDetail& shot) {
  const TMessages& msg = sim_.Msg;
  const bool referenceBits = shot.Replacement != ReplacementPolicy::Fifo;
  const bool useOrder = shot.Replacement == ReplacementPolicy::Lru;
  SetPageTableColumns(kGridColumns + (referenceBits ? 1 : 0) + (useOrder ? 1 : 0));
  stg1->setRowCount(kGridRows);
  const std::string* headers[kGridColumns] = {&msg.MsgColNPV, &msg.MsgColNPR, &msg.MsgColBitV,
                                              &msg.MsgColBitM, &msg.MsgColLocal};
  for (int column = 0; column < kGridColumns; ++column) {
    SetCell(stg1, 0, column, ToQString(*headers[column]));
  }
  if (referenceBits) {
    SetCell(stg1, 0, kGridColumns, ToQString(msg.MsgColBitR));
    const std::string policy =
        OptionText(RowOf(OptionId::Replacement), static_cast<int>(shot.Replacement));
    stg1->item(0, kGridColumns)->setToolTip(ToQString(msg.MsgSubstituicao + ": " + policy));
  }
  if (useOrder) {
    SetCell(stg1, 0, kGridColumns + 1, ToQString(msg.MsgOrdemDeUso));
  }
  for (int page = 0; page < static_cast<int>(shot.Pages.size()); ++page) {
    const TPageEntry& entry = shot.Pages[static_cast<std::size_t>(page)];
    const int row = page + 1;
    SetCell(stg1, row, 0, QString::number(page));
    SetCell(stg1, row, 1, QString::number(entry.Frame));
    SetCell(stg1, row, 2, QString::number(entry.Valid ? 1 : 0));
    SetCell(stg1, row, 3, QString::number(entry.Modified ? 1 : 0));
    SetCell(stg1, row, 4, ToQString(LocationName(msg, entry.Location)));
    if (referenceBits) {
      SetCell(stg1, row, kGridColumns, QString::number(entry.Valid && entry.Referenced ? 1 : 0));
    }
    if (useOrder) {
      // 1 for the resident page used longest ago, the next to go; empty for a page not in memory.
      int place = 1;
      for (const TPageEntry& other : shot.Pages) {
        place += other.Valid && other.LastUse < entry.LastUse ? 1 : 0;
      }
      SetCell(stg1, row, kGridColumns + 1, entry.Valid ? QString::number(place) : QString());
    }
  }
  FitPageTableColumns();
}

void TPCB::ShowProgram(const ProcessDetail& shot) {
  const int at = PageControl1->indexOf(programPage_);
  if (!shot.OwnProgram) {
    if (at >= 0) {
      PageControl1->removeTab(at);
    }
    return;
  }
  const TMessages& msg = sim_.Msg;
  if (at < 0) {
    PageControl1->addTab(programPage_, ToQString(msg.MsgPrograma));
  }
  PageControl1->setTabText(PageControl1->indexOf(programPage_), ToQString(msg.MsgPrograma));
  const bool running = shot.PC >= 0 && shot.PC < static_cast<int>(shot.Program.size());
  const std::string current =
      running ? " (" + InstructionName(shot.Program[static_cast<std::size_t>(shot.PC)]) + ")" : "";
  programText_->setText(ToQString(ProgramText(shot.Program) + "\n" +
                                  (shot.Repeats ? msg.MsgProgramaRepete : msg.MsgProgramaTermina) +
                                  "\n\n" + msg.MsgContadorPrograma + " " + std::to_string(shot.PC) +
                                  current));
}

void TPCB::FitPageTableColumns() {
  // Headers and location names may be longer than the designed widths (a translation, or the
  // styled grid's margins around "Bit M"): their columns grow at the expense of the roomy ones.
  const int columns = stg1->columnCount();
  std::vector<int> preferred(std::begin(kGridColumnWidths), std::end(kGridColumnWidths));
  preferred.resize(static_cast<std::size_t>(columns), kAddedColumnWidth);
  std::vector<int> needed(static_cast<std::size_t>(columns));
  const QAbstractItemView* view = stg1;
  for (int column = 0; column < columns; ++column) {
    needed[static_cast<std::size_t>(column)] = view->sizeHintForColumn(column);
  }
  FitGridColumns(stg1, preferred, needed);
}

void TPCB::SpeedButton1Click() {
  if (ProcessIndex > 0) {
    --ProcessIndex;
  }
}

void TPCB::SpeedButton2Click() {
  if (ProcessIndex < SnapshotProcessCount(sim_) - 1) {
    ++ProcessIndex;
  }
}

}  // namespace kelpa
