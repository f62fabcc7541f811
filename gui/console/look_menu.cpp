// SPDX-License-Identifier: MIT
#include "gui/console/look_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "gui/common/app_look.h"
#include "session/session.h"

namespace kelpa {
namespace {

struct LookItem {
  Look Value;
  const char* Name;
  const char* Caption;
};

constexpr LookItem kItems[] = {
    {Look::Light, "AparenciaClara1", "&Clara"},
    {Look::Dark, "AparenciaEscura1", "&Escura"},
    {Look::Desktop, "AparenciaSistema1", "Como a área de &trabalho"},
};

}  // namespace

TLookMenu::TLookMenu(QMenu* parent, Session& session)
    : QObject(parent), menu_(parent->addMenu(QString::fromUtf8("A&parência"))), session_(session) {
  menu_->setObjectName("Aparencia1");
  auto* looks = new QActionGroup(menu_);
  for (const LookItem& entry : kItems) {
    auto* item = new QAction(QString::fromUtf8(entry.Caption), menu_);
    item->setObjectName(QString::fromLatin1(entry.Name));
    item->setCheckable(true);
    looks->addAction(item);
    menu_->addAction(item);
    const Look look = entry.Value;
    connect(item, &QAction::triggered, this, [this, look] { Choose(look); });
  }
}

void TLookMenu::Check(Look look) {
  for (const LookItem& entry : kItems) {
    if (entry.Value == look) {
      menu_->findChild<QAction*>(QString::fromLatin1(entry.Name))->setChecked(true);
    }
  }
}

void TLookMenu::Choose(Look look) {
  // A file that cannot be written is reported, and the look holds for this run only.
  session_.SaveLook(look);
  Check(look);
  ApplyLook(look);
}

}  // namespace kelpa
