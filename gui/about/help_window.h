// SPDX-License-Identifier: MIT
// The help window: where to find help, in large type.
#pragma once

#include <QWidget>

class QLabel;

namespace kelpa {

class TfrmHelp : public QWidget {
  Q_OBJECT

 public:
  explicit TfrmHelp(QWidget* parent = nullptr);

  static QString HelpText();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  QLabel* Label1;
};

}  // namespace kelpa
