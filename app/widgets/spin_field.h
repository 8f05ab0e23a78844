#pragma once
// The numeric field of every page and dialog: the dive page's entry fields,
// the dive and bailout settings, the preferences, the plan settings and the
// table generation page. It behaves the same everywhere:
// - whatever number is typed is taken, also one outside the range, so that no
//   keystroke is lost ("400" in a 0 to 305 field stays "400" while typing);
// - leaving the field (or stepping it) brings the value into range, visibly:
//   the field shows the limit and a tip at the field says why;
// - Escape puts back the value the field had before the edit;
// - Return moves to the next field;
// - it reports once per user action (posted): a step of its buttons or arrow
//   keys, or leaving the field after typing.

#include <QDoubleSpinBox>

namespace kv::app {

class CSpinField : public QDoubleSpinBox {
  Q_OBJECT
public:
  explicit CSpinField(QWidget* parent = nullptr);
  void SetLimits(double min, double max, double step, int decimals);
  void stepBy(int steps) override;
  // Why the field last changed a typed value (empty when the value was taken
  // as typed); cleared when the user types again.
  const QString& RangeNote() const { return m_rangeNote; }
  // The field's text differs from its value: an edit not taken yet.
  bool HasPendingEdit() const;
  // Takes an edit not taken yet as leaving the field does: for a command
  // reached by its key while the focus is still in the field.
  void Commit();

signals:
  void posted();

protected:
  QValidator::State validate(QString& text, int& pos) const override;
  void fixup(QString& text) const override;
  void keyPressEvent(QKeyEvent* event) override;
  // The shape of a typed text: Invalid (a keystroke to refuse), Intermediate
  // (on its way to a number) or Acceptable (a number, read into value, which
  // may lie outside the range). Plain decimal numbers here.
  virtual QValidator::State ReadTyped(const QString& text, double& value) const;

private:
  void ShowRangeNote();
  mutable QString m_rangeNote;
  mutable bool m_noteDue = false;
};

// Hours and minutes ("h:mm"; "2" typed alone is 2:00); the value is in
// minutes, the owner sets the range.
class CIntervalField : public CSpinField {
  Q_OBJECT
public:
  explicit CIntervalField(QWidget* parent = nullptr);

protected:
  QString textFromValue(double minutes) const override;
  double valueFromText(const QString& text) const override;
  QValidator::State ReadTyped(const QString& text, double& value) const override;
};

// Shows a short note just below a field for a few seconds, in a label of the
// field's window named kFieldNoteName (one per window, reused).
inline constexpr const char* kFieldNoteName = "fieldNote";
void ShowFieldNote(QWidget* field, const QString& text);

// Escape in an entry field without an edit to revert: a dialog closes as
// usual (nothing is lost), the main window never closes from a field.
bool EscapeLeavesField(const QWidget* field);

}  // namespace kv::app
