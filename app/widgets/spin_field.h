#pragma once
// Numeric fields of the settings pages. Each reports once per user action:
// when its spin buttons (or arrow keys) change the value and when the user
// leaves the field, after a typed value was brought into range (typing 90
// into a field of 100 to 250 and leaving it shows 100). Return moves to the
// next field.

#include <QDoubleSpinBox>
#include <QSpinBox>

namespace kv::app {

class CSpinField : public QDoubleSpinBox {
  Q_OBJECT
public:
  explicit CSpinField(QWidget* parent = nullptr);
  void SetLimits(double min, double max, double step, int decimals);
  void stepBy(int steps) override;

signals:
  void posted();
};

// Hours and minutes ("h:mm"); the value is in minutes, the owner sets the range.
class CIntervalField : public QSpinBox {
  Q_OBJECT
public:
  explicit CIntervalField(QWidget* parent = nullptr);
  void stepBy(int steps) override;

signals:
  void posted();

protected:
  QString textFromValue(int minutes) const override;
  int valueFromText(const QString& text) const override;
  QValidator::State validate(QString& text, int& pos) const override;
};

}  // namespace kv::app
