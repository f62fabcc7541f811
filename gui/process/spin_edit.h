// SPDX-License-Identifier: MIT
// An integer spin box that never refuses what is typed: a value outside the range is clamped to
// it, and text that is not a number reads as the minimum. The text is put right when editing ends.
#pragma once

#include <QSpinBox>

namespace kelpa {

class TSpinEdit : public QSpinBox {
  Q_OBJECT
 public:
  TSpinEdit(int minimum, int maximum, int value, QWidget* parent = nullptr);

  // The value the current text stands for, with the text rewritten to match.
  int ReadValue();

 protected:
  QValidator::State validate(QString& text, int& pos) const override;
  int valueFromText(const QString& text) const override;
  void fixup(QString& text) const override;
};

// The value a typed text stands for in [minimum, maximum]: a number is clamped, anything else
// gives the minimum.
int SpinTextValue(const QString& text, int minimum, int maximum);

}  // namespace kelpa
