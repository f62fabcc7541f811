// SPDX-License-Identifier: MIT
// The processes' discs of the processor window, by the identifier the simulation gave them, and
// the Qt display's requests carried out on them (on the user-interface thread). A disc has no
// parent until its process first becomes ready; then it belongs to the client area.
#pragma once

#include <map>
#include <vector>

#include <QObject>
#include <QPointer>

#include "simulation/display.h"

class QWidget;

namespace kelpa {

class QtDisplay;
class TShpProcesso;

class DiscRegistry : public QObject {
  Q_OBJECT

 public:
  // `area` is the window's client area; the registry is its window's child.
  DiscRegistry(QWidget* area, QObject* parent);
  ~DiscRegistry() override;

  // Connects the display's requests to this registry (once, however often it is called).
  void Follow(QtDisplay& display);

  // The disc of a shape, or null when it does not exist (yet or any more).
  TShpProcesso* Disc(ShapeId shape) const;
  bool Empty() const { return discs_.empty(); }

  void Create(ShapeId shape, std::int32_t pid, TColor color);
  void Attach(ShapeId shape);
  void Release(ShapeId shape);
  void ShowOnProcessor(const DiscPlace& place);
  void PlaceWaitArea(const std::vector<DiscPlace>& places);
  // Places the ready discs already on the client area; the others wait for their attachment.
  void PlaceReady(const std::vector<DiscPlace>& places);

 private:
  // Moves and colours a disc; shows it when it is on the client area.
  void Place(const DiscPlace& place);

  QWidget* area_;
  std::map<ShapeId, QPointer<TShpProcesso>> discs_;
};

}  // namespace kelpa
