// SPDX-License-Identifier: MIT
#include "gui/console/console_dialogs.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QUrl>
#include <QWidget>
#include <string>

#include "catalogue/fill_in.h"
#include "gui/common/qt_convert.h"
#include "gui/console/lessons_folder.h"
#include "platform/ini_file.h"
#include "timeline/timeline_picture.h"

namespace kelpa {

TConsoleDialogs::TConsoleDialogs(QWidget& console, const TConsoleHooks& hooks, const TMessages& msg)
    : console_(console), hooks_(hooks), msg_(msg) {}

QString TConsoleDialogs::Title(const char* item) const {
  return DialogTitle(console_.findChild<QAction*>(item)->text());
}

void TConsoleDialogs::ShowInformation(const QString& text) {
  if (hooks_.ShowMessage) {
    hooks_.ShowMessage(text);
  } else {
    QMessageBox::information(&console_, QApplication::applicationName(), AsPlainText(text));
  }
}

void TConsoleDialogs::ShowError(const QString& text) {
  if (hooks_.ShowMessage) {
    hooks_.ShowMessage(text);
  } else {
    QMessageBox::warning(&console_, QApplication::applicationName(), text);
  }
}

void TConsoleDialogs::Beep() {
  if (hooks_.Beep) {
    hooks_.Beep();
  } else {
    QApplication::beep();
  }
}

QString TConsoleDialogs::ScenarioFile(bool save, const QString& suggested) {
  if (hooks_.ChooseScenarioFile) {
    return hooks_.ChooseScenarioFile(save);
  }
  const QString title = Title(save ? "SalvarCenario1" : "AbrirCenario1");
  const QString filter = ToQString(msg_.MsgArquivosCenario);
  if (save) {
    return QFileDialog::getSaveFileName(&console_, title, suggested, filter);
  }
  // The installed lessons sit in the side bar beside the working folder, and the dialog starts in
  // them until the user has a scenario of their own in the working folder.
  const QString working = QDir::currentPath();
  const QString lessons = InstalledLessonsFolder();
  QFileDialog dialog(&console_, title,
                     OpenDialogStartFolder(working, ToQString(KelpaIniPath()), lessons), filter);
  dialog.setFileMode(QFileDialog::ExistingFile);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  QList<QUrl> places = dialog.sidebarUrls();
  for (const QString& folder : {working, lessons}) {
    if (!folder.isEmpty() && !places.contains(QUrl::fromLocalFile(folder))) {
      places << QUrl::fromLocalFile(folder);
    }
  }
  dialog.setSidebarUrls(places);
  return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
}

std::optional<std::int64_t> TConsoleDialogs::TickToGoBackTo(std::int64_t last) {
  if (hooks_.AskTick) {
    return hooks_.AskTick(last);
  }
  bool ok = false;
  const QString prompt = ToQString(FillIn(msg_.MsgVoltarAoTick, {std::to_string(last)}));
  const int chosen =
      QInputDialog::getInt(&console_, Title("Voltar1"), prompt, static_cast<int>(last), 0,
                           static_cast<int>(last), 1, &ok);
  return ok ? std::optional<std::int64_t>(chosen) : std::nullopt;
}

std::optional<QString> TConsoleDialogs::TickToGoTo(std::int64_t last, std::int64_t now) {
  if (hooks_.AskTickText) {
    return hooks_.AskTickText(last);
  }
  bool ok = false;
  const QString prompt = ToQString(FillIn(msg_.MsgIrParaOTick, {std::to_string(last)}));
  // Typed freely, so that a wrong tick is told as such rather than silently clamped.
  const QString text = QInputDialog::getText(&console_, Title("IrParaTick1"), AsPlainText(prompt),
                                             QLineEdit::Normal, QString::number(now), &ok);
  return ok ? std::optional<QString>(text) : std::nullopt;
}

std::optional<TimelineMark> TConsoleDialogs::EventKind() {
  // The kinds the timeline marks, named as its legend names them.
  QStringList kinds;
  for (const std::string& name : TimelineTextsFrom(msg_).Marks) {
    kinds << ToQString(name);
  }
  std::optional<int> kind;
  if (hooks_.AskEventKind) {
    kind = hooks_.AskEventKind(kinds);
  } else {
    bool ok = false;
    const QString chosen = QInputDialog::getItem(&console_, Title("ProximoEvento1"),
                                                 AsPlainText(ToQString(msg_.MsgProximoEvento)),
                                                 kinds, eventKind_, false, &ok);
    if (ok) {
      kind = static_cast<int>(kinds.indexOf(chosen));
    }
  }
  if (!kind || *kind < 0 || *kind >= kTimelineMarkCount) {
    return std::nullopt;
  }
  eventKind_ = *kind;
  return static_cast<TimelineMark>(*kind);
}

}  // namespace kelpa
