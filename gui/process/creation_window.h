// SPDX-License-Identifier: MIT
// The process-creation window: kind, priority, frame limit, colour and count of new processes.
// Opened modally; "Criar" creates the first process at once and the rest one every 100 ms from a
// timer, so the windows keep repainting and the simulation keeps running during a batch.
#pragma once

#include <QColor>
#include <QDialog>
#include <array>
#include <functional>
#include <optional>

#include "simulation/colour.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QPushButton;
class QTimer;

namespace kelpa {

class TLanguage;
class Simulation;
class TSpinEdit;

class TForm2 : public QDialog {
  Q_OBJECT
 public:
  TForm2(Simulation& sim, TLanguage* language = nullptr, QWidget* parent = nullptr);
  ~TForm2() override;

  static constexpr int kPaletteSize = 10;
  static constexpr int kPauseMs = 100;

  // The colours offered in turn to new processes; PaletteIndex 1..10 names Palette[index - 1].
  std::array<TColor, kPaletteSize> Palette{};
  int PaletteIndex = 1;

  // Asks the user for a colour starting on `initial`; nullopt when cancelled. Defaults to the
  // system colour dialog; tests replace it.
  std::function<std::optional<QColor>(const QColor& initial)> ChooseColour;

  TColor OfferedColour() const { return Palette[PaletteIndex - 1]; }
  // The colour Label2 shows, which the first process of the next batch takes.
  TColor Label2Colour() const { return label2Colour_; }
  bool BatchRunning() const;

  void Button1Click();
  void Label2Click();
  // Closing the window in any way ends a batch in progress.
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Batch {
    int Kind = 0;
    int Priority = 0;
    int FrameLimit = 5;
    int Remaining = 0;
  };

  void BuildControls();
  void PaintLabel2(TColor colour);
  void AdvancePaletteIndex();
  void CreateOne(TColor colour);
  void CreateNextOfBatch();
  void SetControlsEnabled(bool enabled);

  Simulation& sim_;
  TSpinEdit* SpinEdit1 = nullptr;
  TSpinEdit* SpinEdit2 = nullptr;
  TSpinEdit* SpinEdit3 = nullptr;
  QGroupBox* RadioGroup1 = nullptr;
  QButtonGroup* kindButtons_ = nullptr;
  QLabel* Label2 = nullptr;
  QPushButton* Button1 = nullptr;
  QTimer* batchTimer_ = nullptr;
  TColor label2Colour_ = 0;
  QColor lastChosen_{Qt::black};
  Batch batch_;
};

}  // namespace kelpa
