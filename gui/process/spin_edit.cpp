// SPDX-License-Identifier: MIT
#include "gui/process/spin_edit.h"

#include <QLineEdit>
#include <QRegularExpression>

namespace kelpa {

int SpinTextValue(const QString& text, int minimum, int maximum) {
  const QString trimmed = text.trimmed();
  static const QRegularExpression number(QStringLiteral("^[+-]?[0-9]+$"));
  if (!number.match(trimmed).hasMatch()) {
    return minimum;
  }
  bool ok = false;
  const qlonglong value = trimmed.toLongLong(&ok);
  if (!ok) {
    // Too many digits for any integer: the sign says which end of the range it is beyond.
    return trimmed.startsWith(QLatin1Char('-')) ? minimum : maximum;
  }
  if (value < minimum) {
    return minimum;
  }
  if (value > maximum) {
    return maximum;
  }
  return static_cast<int>(value);
}

TSpinEdit::TSpinEdit(int minimum, int maximum, int value, QWidget* parent) : QSpinBox(parent) {
  setRange(minimum, maximum);
  setValue(value);
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
}

int TSpinEdit::ReadValue() {
  const int value = SpinTextValue(cleanText(), minimum(), maximum());
  setValue(value);
  // setValue leaves the text alone when the value did not change.
  lineEdit()->setText(textFromValue(value));
  return value;
}

QValidator::State TSpinEdit::validate(QString&, int&) const {
  return QValidator::Acceptable;
}

int TSpinEdit::valueFromText(const QString& text) const {
  return SpinTextValue(text, minimum(), maximum());
}

void TSpinEdit::fixup(QString& text) const {
  text = textFromValue(SpinTextValue(text, minimum(), maximum()));
}

}  // namespace kelpa
