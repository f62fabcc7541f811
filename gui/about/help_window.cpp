// SPDX-License-Identifier: MIT
#include "gui/about/help_window.h"

#include <QLabel>

#include "gui/common/qt_convert.h"

namespace kelpa {
namespace {

constexpr int kLabelTop = 64;
constexpr int kLabelHeight = 169;

}  // namespace

TfrmHelp::TfrmHelp(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
  setObjectName(QStringLiteral("frmHelp"));
  setWindowTitle(QStringLiteral("Help"));
  resize(471, 237);
  move(192, 107);

  Label1 = new QLabel(this);
  Label1->setObjectName(QStringLiteral("Label1"));
  Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  Label1->setFont(ClassicPixelFont(QStringLiteral("Verdana"), 16, true));
  Label1->setGeometry(0, kLabelTop, width(), kLabelHeight);
  Label1->setText(HelpText());
}

QString TfrmHelp::HelpText() {
  // Kelpa has no web address or mailbox yet: the help it has is the tour of the windows, which
  // the package installs beside its licence and the source keeps in docs/.
  return QStringLiteral(
      "For help information read the tour of the windows:\ntour.pt.md or tour.en.md in\n"
      "/usr/share/doc/kelpa (docs/ in the source)");
}

void TfrmHelp::showEvent(QShowEvent* event) {
  Label1->setText(HelpText());
  QWidget::showEvent(event);
}

void TfrmHelp::resizeEvent(QResizeEvent* event) {
  // The text spans the window's width as it is resized.
  Label1->setGeometry(0, kLabelTop, width(), kLabelHeight);
  QWidget::resizeEvent(event);
}

}  // namespace kelpa
