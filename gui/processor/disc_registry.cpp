// SPDX-License-Identifier: MIT
#include "gui/processor/disc_registry.h"

#include <cmath>

#include "gui/common/live_zoom.h"
#include "gui/processor/disc_positions.h"
#include "gui/processor/process_shape.h"
#include "gui/processor/qt_display.h"

namespace kelpa {

DiscRegistry::DiscRegistry(QWidget* area, QObject* parent) : QObject(parent), area_(area) {}

namespace {

// The disc's place and size at the window's zoom.
QRect DiscRect(const QWidget* area, const DiscPlace& place) {
  const double zoom = ZoomOf(area);
  const QPoint corner = DiscPosition(place);
  const int size = static_cast<int>(std::lround(TShpProcesso::kSize * zoom));
  return {static_cast<int>(std::lround(corner.x() * zoom)),
          static_cast<int>(std::lround(corner.y() * zoom)), size, size};
}

}  // namespace

DiscRegistry::~DiscRegistry() {
  // Discs on the client area may already be gone with it; their QPointers are then null.
  for (auto& [id, disc] : discs_) {
    delete disc.data();
  }
}

void DiscRegistry::Follow(QtDisplay& display) {
  connect(&display, &QtDisplay::discCreated, this, &DiscRegistry::Create, Qt::UniqueConnection);
  connect(&display, &QtDisplay::discAttached, this, &DiscRegistry::Attach, Qt::UniqueConnection);
  connect(&display, &QtDisplay::discReleased, this, &DiscRegistry::Release, Qt::UniqueConnection);
  connect(&display, &QtDisplay::discOnProcessor, this, &DiscRegistry::ShowOnProcessor,
          Qt::UniqueConnection);
  connect(&display, &QtDisplay::waitAreaChanged, this, &DiscRegistry::PlaceWaitArea,
          Qt::UniqueConnection);
}

TShpProcesso* DiscRegistry::Disc(ShapeId shape) const {
  const auto found = discs_.find(shape);
  return found == discs_.end() ? nullptr : found->second.data();
}

void DiscRegistry::Create(ShapeId shape, std::int32_t pid, TColor color) {
  if (shape == 0 || discs_.count(shape) != 0) {
    return;
  }
  // No parent until the process first becomes ready; a parentless widget would be a window of
  // its own, so it stays hidden until then.
  auto* disc = new TShpProcesso();
  disc->hide();
  disc->SetPid(pid);
  disc->SetFillColor(color);
  discs_[shape] = disc;
}

void DiscRegistry::Attach(ShapeId shape) {
  TShpProcesso* disc = Disc(shape);
  if (disc == nullptr || area_ == nullptr) {
    return;
  }
  if (disc->parentWidget() != area_) {
    disc->setParent(area_);
  }
  disc->show();
  disc->raise();
}

void DiscRegistry::Release(ShapeId shape) {
  const auto found = discs_.find(shape);
  if (found == discs_.end()) {
    return;
  }
  if (TShpProcesso* disc = found->second.data()) {
    disc->hide();
    delete disc;
  }
  discs_.erase(found);
}

void DiscRegistry::Place(const DiscPlace& place) {
  TShpProcesso* disc = Disc(place.Shape);
  if (disc == nullptr) {
    return;
  }
  // Not yet on the window, it takes the place it will have there.
  if (area_ != nullptr) {
    disc->setGeometry(DiscRect(area_, place));
  } else {
    disc->move(DiscPosition(place));
  }
  disc->SetFillColor(place.Color);
  if (disc->parentWidget() != nullptr) {
    disc->show();
  }
}

void DiscRegistry::ShowOnProcessor(const DiscPlace& place) {
  Place(place);
  // The running disc is drawn over one that has not yet been moved away from the processor.
  if (TShpProcesso* disc = Disc(place.Shape)) {
    disc->raise();
  }
}

void DiscRegistry::PlaceWaitArea(const std::vector<DiscPlace>& places) {
  for (const DiscPlace& place : places) {
    Place(place);
  }
}

void DiscRegistry::PlaceReady(const std::vector<DiscPlace>& places) {
  for (const DiscPlace& place : places) {
    TShpProcesso* disc = Disc(place.Shape);
    // A disc not yet created, or not yet on this window, waits for the display's next update.
    if (disc == nullptr || disc->parentWidget() != area_) {
      continue;
    }
    disc->setGeometry(DiscRect(area_, place));
    disc->SetFillColor(place.Color);
    disc->show();
  }
}

}  // namespace kelpa
