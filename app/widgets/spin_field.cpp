#include "app/widgets/spin_field.h"

#include <QRegularExpression>

#include "app/widgets/return_moves_focus.h"

namespace kv::app {

CSpinField::CSpinField(QWidget* parent) : QDoubleSpinBox(parent) {
  // Reported on leaving, not on every keystroke; out-of-range text snaps to
  // the nearest limit instead of the previous value.
  setKeyboardTracking(false);
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  setLocale(QLocale::c());
  connect(this, &QAbstractSpinBox::editingFinished, this, &CSpinField::posted);
  ReturnMovesFocus(this);
}

void CSpinField::SetLimits(double min, double max, double step, int decimals) {
  setDecimals(decimals);
  setRange(min, max);
  setSingleStep(step);
}

void CSpinField::stepBy(int steps) {
  const double before = value();
  QDoubleSpinBox::stepBy(steps);
  if (value() != before) emit posted();
}

CIntervalField::CIntervalField(QWidget* parent) : QSpinBox(parent) {
  setKeyboardTracking(false);
  setCorrectionMode(QAbstractSpinBox::CorrectToNearestValue);
  connect(this, &QAbstractSpinBox::editingFinished, this, &CIntervalField::posted);
  ReturnMovesFocus(this);
}

void CIntervalField::stepBy(int steps) {
  const int before = value();
  QSpinBox::stepBy(steps);
  if (value() != before) emit posted();
}

QString CIntervalField::textFromValue(int minutes) const {
  return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

int CIntervalField::valueFromText(const QString& text) const {
  const QStringList parts = text.trimmed().split(QLatin1Char(':'));
  const int hours = parts.value(0).toInt();
  const int minutes = parts.size() > 1 ? parts.value(1).toInt() : 0;
  return hours * 60 + minutes;
}

QValidator::State CIntervalField::validate(QString& text, int&) const {
  static const QRegularExpression full(QStringLiteral("^\\s*\\d{1,2}:[0-5]\\d\\s*$"));
  static const QRegularExpression partial(QStringLiteral("^\\s*\\d{0,2}(:[0-5]?)?\\s*$"));
  if (full.match(text).hasMatch()) return QValidator::Acceptable;
  return partial.match(text).hasMatch() ? QValidator::Intermediate : QValidator::Invalid;
}

}  // namespace kv::app
