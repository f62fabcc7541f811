// SPDX-License-Identifier: MIT
#include "gui/about/credits_window.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>

#include "catalogue/messages.h"
#include "gui/common/qt_convert.h"

namespace kelpa {
namespace {

constexpr int kClientWidth = 494;
constexpr int kClientHeight = 225;

}  // namespace

TfrmCreditos::TfrmCreditos(const TMessages& messages, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      msg_(messages) {
  setObjectName(QStringLiteral("frmCreditos"));
  setFixedSize(kClientWidth, kClientHeight);
  move(292, 118);

  Panel1 = new QFrame(this);
  Panel1->setObjectName(QStringLiteral("Panel1"));
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setGeometry(0, 0, kClientWidth, kClientHeight);

  Panel3 = new QFrame(Panel1);
  Panel3->setObjectName(QStringLiteral("Panel3"));
  Panel3->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel3->setGeometry(1, 1, kClientWidth - 2, kClientHeight - 2);

  Label1 = new QLabel(Panel3);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setGeometry(2, 56, 488, 245);
  Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Label1->setWordWrap(true);
  Label1->setFont(ClassicPixelFont(QStringLiteral("Verdana"), 16, true));

  RefreshTexts();
}

QString TfrmCreditos::CreditsText() {
  // Kelpa has no web address of its own yet: the credit and the version line only.
  return QStringLiteral("Developed by the Kelpa developers\n\nVersão 1.1, 2003\n");
}

void TfrmCreditos::RefreshTexts() {
  setWindowTitle(ToQString(msg_.MsgTitCreditos));
  Label1->setText(CreditsText());
}

void TfrmCreditos::showEvent(QShowEvent* event) {
  RefreshTexts();
  QDialog::showEvent(event);
}

void TfrmCreditos::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
    RefreshTexts();
  }
  QDialog::changeEvent(event);
}

}  // namespace kelpa
