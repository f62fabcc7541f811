// SPDX-License-Identifier: MIT
// A process's disc on the processor window: a 12 x 12 circle filled with the process colour, its
// tool tip the process identifier.
#pragma once

#include <any>
#include <cstdint>

#include <QWidget>

#include "simulation/colour.h"

namespace kelpa {

class TProcesso;

class TShpProcesso : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kSize = 12;

  explicit TShpProcesso(QWidget* parent = nullptr);

  // The process the disc stands for. Only an identity: the disc never reads through it, since the
  // process may end while the disc still exists.
  const TProcesso* Processo = nullptr;

  // Attaches the disc to its process. Accepts a TProcesso* (const or not); anything else throws
  // std::invalid_argument("Não é um Processo") and leaves Processo unchanged.
  void SetProcesso(const std::any& object);

  void SetPid(std::int32_t pid);
  void SetFillColor(TColor color);
  TColor FillColor() const { return fill_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  TColor fill_ = 0xFFFFFF;
};

}  // namespace kelpa
