// SPDX-License-Identifier: MIT
#include "gui/common/live_zoom.h"

#include <QFont>
#include <QHeaderView>
#include <QMenu>
#include <QRectF>
#include <QVariant>
#include <QWidget>
#include <algorithm>
#include <cmath>
#include <vector>

namespace kelpa {
namespace {

double liveZoom = 1.0;

const char* const kZoomProperty = "kelpaZoom";
const char* const kDesignedGeometry = "kelpaDesignedGeometry";
const char* const kGivenGeometry = "kelpaGivenGeometry";

int Scaled(double value, double factor) {
  return static_cast<int>(std::lround(value * factor));
}

// A widget remembers each designed value and the value last given to it: a value the program
// changed since (a label fitted to a new text, a disc moved) counts as given at the zoom in
// force. Place and size are told apart: a window's layout may settle its size after a zoom
// without the window having been moved.
QRectF DesignedRect(QWidget* w, const QRect& now, double from) {
  const QVariant given = w->property(kGivenGeometry);
  QRectF designed(now.x() / from, now.y() / from, now.width() / from, now.height() / from);
  if (given.isValid()) {
    const QRectF kept = w->property(kDesignedGeometry).toRectF();
    if (given.toRect().topLeft() == now.topLeft()) {
      designed.moveTopLeft(kept.topLeft());
    }
    if (given.toRect().size() == now.size()) {
      designed.setSize(kept.size());
    }
  }
  return designed;
}

double Designed(QWidget* w, const char* name, double now, double from) {
  const QVariant given = w->property((QByteArray(name) + "Given").constData());
  if (!given.isValid() || given.toDouble() != now) {
    return now / from;
  }
  return w->property((QByteArray(name) + "Designed").constData()).toDouble();
}

void Remember(QWidget* w, const char* name, double designed, double given) {
  w->setProperty((QByteArray(name) + "Designed").constData(), designed);
  w->setProperty((QByteArray(name) + "Given").constData(), given);
}

void ZoomLimits(QWidget* w, double from, double to) {
  const QSize least = w->minimumSize();
  const QSize most = w->maximumSize();
  const double lw = Designed(w, "kelpaMinW", least.width(), from);
  const double lh = Designed(w, "kelpaMinH", least.height(), from);
  const double mw = Designed(w, "kelpaMaxW", most.width(), from);
  const double mh = Designed(w, "kelpaMaxH", most.height(), from);
  // A least or most size of 0 or of Qt's "no limit" is no size to scale.
  const auto scaledOrAsIs = [&](double designed, int now) {
    return now <= 0 || now >= QWIDGETSIZE_MAX ? now
                                              : std::min(Scaled(designed, to), QWIDGETSIZE_MAX);
  };
  const QSize newLeast(scaledOrAsIs(lw, least.width()), scaledOrAsIs(lh, least.height()));
  const QSize newMost(scaledOrAsIs(mw, most.width()), scaledOrAsIs(mh, most.height()));
  // Least first when shrinking, most first when growing: never least above most in between.
  if (to < from) {
    w->setMinimumSize(newLeast);
    w->setMaximumSize(newMost);
  } else {
    w->setMaximumSize(newMost);
    w->setMinimumSize(newLeast);
  }
  Remember(w, "kelpaMinW", lw, newLeast.width());
  Remember(w, "kelpaMinH", lh, newLeast.height());
  Remember(w, "kelpaMaxW", mw, newMost.width());
  Remember(w, "kelpaMaxH", mh, newMost.height());
}

void ZoomGeometry(QWidget* w, double from, double to) {
  const QRect now = w->isWindow() ? QRect(w->pos(), w->size()) : w->geometry();
  const QRectF designed = DesignedRect(w, now, from);
  const QRect scaled(Scaled(designed.x(), to), Scaled(designed.y(), to),
                     Scaled(designed.width(), to), Scaled(designed.height(), to));
  if (w->isWindow()) {
    w->resize(scaled.size());
    w->move(scaled.topLeft());
  } else {
    w->setGeometry(scaled);
  }
  w->setProperty(kDesignedGeometry, designed);
  w->setProperty(kGivenGeometry, w->isWindow() ? QRect(w->pos(), w->size()) : w->geometry());
}

// Only a font set on the widget itself (and the window's): the others follow their parent's. A
// menu is a window of its own, and a grid's heading takes its font from its style sheet: both
// keep the font they have unless they are given one.
void ZoomFont(QWidget* w, double from, double to) {
  if (!w->isWindow() && !w->testAttribute(Qt::WA_SetFont) && qobject_cast<QMenu*>(w) == nullptr &&
      qobject_cast<QHeaderView*>(w) == nullptr) {
    return;
  }
  QFont font = w->font();
  if (font.pixelSize() > 0) {
    const double designed = Designed(w, "kelpaPixels", font.pixelSize(), from);
    font.setPixelSize(std::max(1, Scaled(designed, to)));
    Remember(w, "kelpaPixels", designed, font.pixelSize());
  } else {
    const double designed = Designed(w, "kelpaPoints", font.pointSizeF(), from);
    font.setPointSizeF(designed * to);
    Remember(w, "kelpaPoints", designed, font.pointSizeF());
  }
  w->setFont(font);
}

// The rows' height and the least width come from the design; the columns' widths are the grid's
// own (fitted to their texts) and scale from what they are.
void ZoomSections(QHeaderView* header, double from, double to) {
  const double ratio = to / from;
  const int least =
      Scaled(Designed(header, "kelpaLeastSection", header->minimumSectionSize(), from), to);
  const int usual =
      Scaled(Designed(header, "kelpaUsualSection", header->defaultSectionSize(), from), to);
  std::vector<int> sizes;
  for (int i = 0; i < header->count(); ++i) {
    sizes.push_back(Scaled(header->sectionSize(i), ratio));
  }
  header->setMinimumSectionSize(std::min(least, usual));
  header->setDefaultSectionSize(usual);
  header->setMinimumSectionSize(least);
  Remember(header, "kelpaLeastSection", least / to, header->minimumSectionSize());
  Remember(header, "kelpaUsualSection", usual / to, header->defaultSectionSize());
  for (int i = 0; i < header->count(); ++i) {
    header->resizeSection(i, sizes[static_cast<std::size_t>(i)]);
  }
}

// Children first: a font a child took from its parent is read before the parent's changes.
void ZoomTree(QWidget* w, double from, double to) {
  for (QObject* child : w->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (widget == nullptr) {
      continue;
    }
    // Another window is zoomed on its own; a menu of this one goes with it.
    if (widget->isWindow() && qobject_cast<QMenu*>(widget) == nullptr) {
      continue;
    }
    ZoomTree(widget, from, to);
  }
  ZoomFont(w, from, to);
  if (auto* header = qobject_cast<QHeaderView*>(w)) {
    ZoomSections(header, from, to);
  }
  if (qobject_cast<QMenu*>(w) == nullptr) {
    ZoomLimits(w, from, to);
    ZoomGeometry(w, from, to);
  }
}

}  // namespace

double LiveZoom() {
  return liveZoom;
}

void SetLiveZoom(double factor) {
  liveZoom = factor;
}

void ZoomWindow(QWidget* window, double factor) {
  const double from = ZoomOf(window);
  if (factor == from) {
    return;
  }
  ZoomTree(window, from, factor);
  window->setProperty(kZoomProperty, factor);
}

void KeepDesignedPlace(QWidget* window, const QRect& before) {
  const QVariant given = window->property(kGivenGeometry);
  if (given.isValid() && given.toRect().topLeft() != before.topLeft()) {
    return;
  }
  if (!window->property(kDesignedGeometry).isValid()) {
    const double zoom = ZoomOf(window);
    window->setProperty(kDesignedGeometry, QRectF(before.x() / zoom, before.y() / zoom,
                                                  before.width() / zoom, before.height() / zoom));
  }
  window->setProperty(kGivenGeometry, QRect(window->pos(), window->size()));
}

double ZoomOf(const QWidget* widget) {
  const QVariant zoom = widget->window()->property(kZoomProperty);
  return zoom.isValid() ? zoom.toDouble() : 1.0;
}

}  // namespace kelpa
