// SPDX-License-Identifier: MIT
#include "gui/console/zoom_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>
#include <utility>

#include "gui/common/screen_fit.h"
#include "session/session.h"

namespace kelpa {

TZoomMenu::TZoomMenu(QMenu* parent, Session& session, int startZoom, std::function<void()> zoomed)
    : QObject(parent),
      menu_(parent->addMenu(QString::fromUtf8("&Ampliação"))),
      session_(session),
      startZoom_(startZoom),
      zoomed_(std::move(zoomed)) {
  menu_->setObjectName("Zoom1");
  auto* levels = new QActionGroup(menu_);
  for (const int percent : kZoomLevels) {
    auto* item = new QAction(QStringLiteral("%1 %").arg(percent), menu_);
    item->setObjectName(QStringLiteral("Zoom%1").arg(percent));
    item->setCheckable(true);
    levels->addAction(item);
    menu_->addAction(item);
    connect(item, &QAction::triggered, this, [this, percent] { Choose(percent); });
  }
}

void TZoomMenu::Check(int percent) {
  if (auto* item = menu_->findChild<QAction*>(QStringLiteral("Zoom%1").arg(percent))) {
    item->setChecked(true);
  }
}

void TZoomMenu::Choose(int percent) {
  if (!session_.SaveZoom(percent)) {
    // Reported already; the item of the zoom the file still holds stays checked.
    Check(session_.Zoom());
    return;
  }
  Check(percent);
  // Qt took its scale factor at start, from the zoom then in kelpa.ini: the windows are scaled
  // by hand from there, and the next start takes the new zoom whole.
  ZoomShownWindows(static_cast<double>(percent) / startZoom_);
  zoomed_();
}

}  // namespace kelpa
