// SPDX-License-Identifier: MIT
#include "gui/console/message_box_reporter.h"

#include <QApplication>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>
#include <iostream>

namespace kelpa {

void MessageBoxReporter::ShowError(const std::string& message) {
  if (QCoreApplication::instance() == nullptr) {
    std::cerr << message << '\n';
    return;
  }
  auto show = [parent = parent_, text = QString::fromStdString(message)] {
    QMessageBox::critical(parent, QGuiApplication::applicationDisplayName(), text);
  };
  if (QThread::currentThread() == QCoreApplication::instance()->thread()) {
    show();
  } else {
    QMetaObject::invokeMethod(QCoreApplication::instance(), show, Qt::QueuedConnection);
  }
}

}  // namespace kelpa
