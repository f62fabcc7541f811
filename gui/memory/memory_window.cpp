// SPDX-License-Identifier: MIT
#include "gui/memory/memory_window.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QTimer>
#include <algorithm>

#include "gui/common/palette_follower.h"
#include "gui/common/qt_convert.h"
#include "gui/common/readable_text.h"
#include "gui/common/timer_while_shown.h"
#include "gui/language/language.h"
#include "gui/memory/memory_options_window.h"
#include "gui/memory/page_file_window.h"
#include "simulation/simulation.h"
#include "simulation/snapshots.h"

namespace kelpa {
namespace {

constexpr int kClientWidth = 255;
constexpr int kClientHeight = 316;
constexpr int kTimerIntervalMs = 2000;
const QColor kGrey(128, 128, 128);

GridCell FrameCell(const FrameView& frame) {
  GridCell cell;
  cell.Background = frame.Modified ? kGrey : QColor(Qt::white);
  // An occupied frame always has an owner; a frame released by an ended process names none and
  // is drawn without a disc.
  if (!frame.Free && frame.OwnerColor) {
    cell.Disc = ToQColor(*frame.OwnerColor);
  }
  return cell;
}

QLabel* MakeLabel(const QString& name, const QString& text, int left, int top, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  label->setObjectName(name);
  label->move(left, top);
  label->adjustSize();
  return label;
}

// A static text on the highlight-text colour of the palette.
QLabel* MakeStaticText(const QString& name, const QString& text, int left, int top,
                       QWidget* parent) {
  QLabel* label = MakeLabel(name, text, left, top, parent);
  new PaletteFollower(label, [label] {
    QPalette palette = label->palette();
    const QColor background = QApplication::palette(label).color(QPalette::HighlightedText);
    palette.setColor(QPalette::Window, background);
    // The window's text colour may be as light as this background in a dark theme.
    palette.setColor(QPalette::WindowText, ReadableTextColour(background));
    label->setPalette(palette);
  });
  label->setAutoFillBackground(true);
  return label;
}

QProgressBar* MakeBar(const QString& name, const QRect& geometry, QWidget* parent) {
  auto* bar = new QProgressBar(parent);
  bar->setObjectName(name);
  bar->setGeometry(geometry);
  bar->setRange(0, 100);
  bar->setValue(0);
  bar->setTextVisible(false);
  return bar;
}

}  // namespace

TfrmMemoVirt::TfrmMemoVirt(Simulation& sim, TLanguage* language, QWidget* parent)
    : QMainWindow(parent), sim_(sim), language_(language) {
  setObjectName(QStringLiteral("frmMemoVirt"));
  setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setFont(ClassicFont(QStringLiteral("MS Sans Serif"), 8));
  BuildMenu();
  BuildClientArea();
  // The menu bar sits above the client area, so the window is that much taller.
  setFixedSize(kClientWidth, kClientHeight + menuBar()->sizeHint().height());
  move(482, 95);

  Timer1 = new QTimer(this);
  Timer1->setObjectName(QStringLiteral("Timer1"));
  Timer1->setInterval(kTimerIntervalMs);
  connect(Timer1, &QTimer::timeout, this, &TfrmMemoVirt::Timer1Timer);
  new TimerWhileShown(this, Timer1, [this] { Timer1Timer(); });

  TranslateForm(language, "GM", this);
  setWindowTitle(ToQString(sim_.Msg.MsgTitGerMemoria));
}

void TfrmMemoVirt::BuildMenu() {
  menuBar()->setObjectName(QStringLiteral("MainMenu1"));
  QAction* options = menuBar()->addAction(QStringLiteral("Opções"));
  options->setObjectName(QStringLiteral("Opes1"));
  connect(options, &QAction::triggered, this, &TfrmMemoVirt::Opes1Click);

  QMenu* windows = menuBar()->addMenu(QStringLiteral("Janelas"));
  windows->setObjectName(QStringLiteral("Janelas1"));
  Pagefile1 = windows->addAction(QStringLiteral("Pagefile"));
  Pagefile1->setObjectName(QStringLiteral("Pagefile1"));
  Pagefile1->setCheckable(true);
  connect(Pagefile1, &QAction::triggered, this, &TfrmMemoVirt::Pagefile1Click);
}

void TfrmMemoVirt::BuildClientArea() {
  auto* client = new QWidget(this);
  client->setObjectName(QStringLiteral("ClientArea"));
  client->setFixedSize(kClientWidth, kClientHeight);
  setCentralWidget(client);

  stg1 = new TCellGrid([this] { return ReadFrames(); }, client);
  stg1->setGeometry(0, 0, 253, 253);

  MakeLabel(QStringLiteral("Label1"), QStringLiteral("Tam. LPL"), 9, 263, client);
  FPLsize = MakeBar(QStringLiteral("FPLsize"), QRect(66, 262, 148, 17), client);
  StaticText1 =
      MakeStaticText(QStringLiteral("StaticText1"), QStringLiteral("fp"), 219, 263, client);
  MakeLabel(QStringLiteral("Label2"), QStringLiteral("Tam. LPM"), 9, 291, client);
  MPLsize = MakeBar(QStringLiteral("MPLsize"), QRect(66, 290, 148, 18), client);
  StaticText2 =
      MakeStaticText(QStringLiteral("StaticText2"), QStringLiteral("mp"), 219, 290, client);
}

void TfrmMemoVirt::SetPageFileWindow(TfrmPageFile* window) {
  pageFile_ = window;
  if (pageFile_ != nullptr) {
    // Closed by its own frame, the page-file window is hidden: the check mark follows.
    connect(pageFile_, &TfrmPageFile::closed, this, [this] { Pagefile1->setChecked(false); });
  }
}

void TfrmMemoVirt::SetOptionsWindow(Tfrm_Opt_MV* window) {
  options_ = window;
}

GridCells TfrmMemoVirt::ReadFrames() {
  static_assert(kGridCells == kFrameCount, "one cell per frame");
  const FrameViews frames = SnapshotFrames(sim_);
  GridCells cells;
  for (std::size_t n = 0; n < cells.size(); ++n) {
    cells[n] = FrameCell(frames[n]);
  }
  return cells;
}

void TfrmMemoVirt::Timer1Timer() {
  stg1->update();
  const PageListSizes lists = SnapshotPageLists(sim_);
  const int freePages = lists.Free;
  const int modifiedPages = lists.Modified;
  // A progress bar ignores a value outside its range; the classic one stops at its ends.
  FPLsize->setValue(std::clamp(freePages, FPLsize->minimum(), FPLsize->maximum()));
  MPLsize->setValue(std::clamp(modifiedPages, MPLsize->minimum(), MPLsize->maximum()));
  StaticText1->setText(QString::number(FPLsize->value()));
  StaticText1->adjustSize();
  StaticText2->setText(QString::number(MPLsize->value()));
  StaticText2->adjustSize();
}

void TfrmMemoVirt::Opes1Click() {
  if (options_ == nullptr) {
    options_ = new Tfrm_Opt_MV(sim_, language_, this);
  }
  options_->show();
  options_->raise();
  options_->activateWindow();
}

TfrmPageFile* TfrmMemoVirt::PageFileWindow() {
  if (pageFile_ == nullptr) {
    SetPageFileWindow(new TfrmPageFile(sim_, this));
  }
  return pageFile_;
}

void TfrmMemoVirt::Pagefile1Click() {
  TfrmPageFile* window = PageFileWindow();
  if (window->isVisible()) {
    window->close();
  } else {
    window->show();
  }
  // The check mark shows whether the window is open, whoever toggled the action.
  Pagefile1->setChecked(window->isVisible());
}

void TfrmMemoVirt::closeEvent(QCloseEvent* event) {
  event->accept();
  hide();
  emit closed();
}

}  // namespace kelpa
