#include "app/widgets/spin_field.h"

#include <QDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpression>
#include <QLabel>
#include <QTimer>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "app/platform/qt_text.h"
#include "app/widgets/return_moves_focus.h"

namespace kv::app {

CSpinField::CSpinField(QWidget* parent) : QDoubleSpinBox(parent) {
  // Reported on leaving, not on every keystroke.
  setKeyboardTracking(false);
  setLocale(QLocale::c());
  connect(this, &QAbstractSpinBox::editingFinished, this, [this] {
    ShowRangeNote();
    emit posted();
  });
  connect(lineEdit(), &QLineEdit::textEdited, this, [this] {
    m_rangeNote.clear();
    m_noteDue = false;
  });
  ReturnMovesFocus(this);
}

void CSpinField::SetLimits(double min, double max, double step, int decimals) {
  setDecimals(decimals);
  setRange(min, max);
  setSingleStep(step);
}

bool CSpinField::HasPendingEdit() const { return lineEdit()->text() != textFromValue(value()); }

void CSpinField::Commit() {
  if (!HasPendingEdit()) return;
  interpretText();
  ShowRangeNote();
}

void CSpinField::stepBy(int steps) {
  const double before = value();
  // Stepping from a typed value outside the range brings it in first.
  QDoubleSpinBox::stepBy(steps);
  ShowRangeNote();
  if (value() != before) emit posted();
}

QValidator::State CSpinField::ReadTyped(const QString& text, double& value) const {
  // A sign, digits and at most the field's decimals; nothing else.
  const QString pattern = decimals() > 0 ? QStringLiteral("^\\s*-?(\\d{0,9})(\\.\\d{0,%1})?\\s*$").arg(decimals())
                                         : QStringLiteral("^\\s*-?\\d{0,9}\\s*$");
  const QRegularExpression shape(pattern);
  if (!shape.match(text).hasMatch()) return QValidator::Invalid;
  bool ok = false;
  value = text.trimmed().toDouble(&ok);
  return ok ? QValidator::Acceptable : QValidator::Intermediate;
}

QValidator::State CSpinField::validate(QString& text, int&) const {
  double typed = 0.0;
  const QValidator::State state = ReadTyped(text, typed);
  if (state != QValidator::Acceptable) return state;
  // Outside the range the text stays as typed until the field is left.
  return typed < minimum() || typed > maximum() ? QValidator::Intermediate : QValidator::Acceptable;
}

void CSpinField::fixup(QString& text) const {
  double typed = 0.0;
  if (ReadTyped(text, typed) != QValidator::Acceptable) {
    // Nothing that reads as a number: the value stays what it was.
    text = textFromValue(value());
    return;
  }
  const double kept = std::clamp(typed, minimum(), maximum());
  const QString was = text.trimmed();
  text = textFromValue(kept);
  if (typed > maximum())
    m_rangeNote = Tr("%1 is more than this field takes: it is set to %2, the largest value.").arg(was, text);
  else if (typed < minimum())
    m_rangeNote = Tr("%1 is less than this field takes: it is set to %2, the smallest value.").arg(was, text);
  else
    return;
  m_noteDue = true;
}

void CSpinField::ShowRangeNote() {
  if (!m_noteDue) return;
  m_noteDue = false;
  ShowFieldNote(this, m_rangeNote);
}

void ShowFieldNote(QWidget* field, const QString& text) {
  // A label of the field's window rather than a tooltip: a tooltip vanishes
  // with the key or click that left the field, before anyone has read it.
  QWidget* window = field->window();
  auto* note = window->findChild<QLabel*>(QString::fromLatin1(kFieldNoteName), Qt::FindDirectChildrenOnly);
  if (!note) {
    note = new QLabel(window);
    note->setObjectName(QString::fromLatin1(kFieldNoteName));
    note->setWordWrap(true);
    note->setFrameShape(QFrame::Box);
    note->setMargin(4);
    note->setAutoFillBackground(true);
    note->setPalette(QToolTip::palette());
    note->setBackgroundRole(QPalette::ToolTipBase);
    note->setForegroundRole(QPalette::ToolTipText);
    auto* timer = new QTimer(note);
    timer->setSingleShot(true);
    timer->setObjectName(QStringLiteral("hide"));
    QObject::connect(timer, &QTimer::timeout, note, &QWidget::hide);
  }
  note->setText(text);
  note->setFixedWidth(std::min(360, std::max(200, window->width() / 3)));
  note->adjustSize();
  // Just below the field, inside the window.
  QPoint at = field->mapTo(window, QPoint(0, field->height() + 2));
  at.setX(std::clamp(at.x(), 0, std::max(0, window->width() - note->width())));
  if (at.y() + note->height() > window->height()) at.setY(field->mapTo(window, QPoint(0, 0)).y() - note->height() - 2);
  note->move(at);
  note->raise();
  note->show();
  note->findChild<QTimer*>(QStringLiteral("hide"))->start(6000);
}

void CSpinField::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    if (HasPendingEdit()) {
      lineEdit()->setText(textFromValue(value()));
      selectAll();
      m_rangeNote.clear();
      event->accept();
      return;
    }
    if (EscapeLeavesField(this)) {
      event->ignore();
      return;
    }
    event->accept();
    return;
  }
  QDoubleSpinBox::keyPressEvent(event);
}

// ---- Hours and minutes ---------------------------------------------------------

CIntervalField::CIntervalField(QWidget* parent) : CSpinField(parent) {
  SetLimits(0, 0, 1, 0);
}

QString CIntervalField::textFromValue(double value) const {
  const int minutes = static_cast<int>(std::lround(value));
  return QStringLiteral("%1:%2").arg(minutes / 60).arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

double CIntervalField::valueFromText(const QString& text) const {
  double minutes = 0.0;
  ReadTyped(text, minutes);
  return minutes;
}

QValidator::State CIntervalField::ReadTyped(const QString& text, double& value) const {
  // "h:mm" (minutes below 60), or whole hours alone ("2" is 2:00).
  static const QRegularExpression shape(QStringLiteral("^\\s*(\\d{0,4})(:([0-5]?\\d?))?\\s*$"));
  const QRegularExpressionMatch m = shape.match(text);
  if (!m.hasMatch()) return QValidator::Invalid;
  const QString hours = m.captured(1);
  const bool colon = m.hasCaptured(2) && !m.captured(2).isEmpty();
  const QString minutes = m.captured(3);
  if (hours.isEmpty() && !colon) return QValidator::Intermediate;
  if (colon && minutes.size() < 2) return QValidator::Intermediate;
  value = hours.toInt() * 60 + (colon ? minutes.toInt() : 0);
  return QValidator::Acceptable;
}

bool EscapeLeavesField(const QWidget* field) { return qobject_cast<const QDialog*>(field->window()) != nullptr; }

}  // namespace kv::app
