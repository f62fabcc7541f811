// SPDX-License-Identifier: MIT
// The credits window: the author, the web address and the version in large type.
#pragma once

#include <QDialog>

class QFrame;
class QLabel;

namespace kelpa {

struct TMessages;

class TfrmCreditos : public QDialog {
  Q_OBJECT

 public:
  explicit TfrmCreditos(const TMessages& messages, QWidget* parent = nullptr);

  static QString CreditsText();

 protected:
  void showEvent(QShowEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void RefreshTexts();

  const TMessages& msg_;
  QFrame* Panel1;
  QFrame* Panel3;
  QLabel* Label1;
};

}  // namespace kelpa
