#include "app/widgets/gas_combo_completion.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QSignalBlocker>
#include <cmath>

#include "base/preferences.h"
#include "base/prompt.h"
#include "app/platform/qt_text.h"
#include "app/widgets/spin_field.h"

namespace kv::app {
namespace {
int Whole(double percent) { return static_cast<int>(std::lround(percent)); }
}  // namespace

CGasComboCompletion::CGasComboCompletion(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  // The list keeps its own order and completion; Qt's must not add or complete.
  setInsertPolicy(QComboBox::NoInsert);
  setCompleter(nullptr);
  setMinimumContentsLength(10);
  connect(lineEdit(), &QLineEdit::textEdited, this, &CGasComboCompletion::OnTextEdited);
  connect(this, qOverload<int>(&QComboBox::activated), this, [this](int) { LeaveField(); });
}

CGas CGasComboCompletion::GetGas() const {
  CGas gas;
  gas.Parse(FromQt(currentText()));
  return gas;
}

bool CGasComboCompletion::AddGas(const CGas& gas, bool doNotSelect) {
  if (!m_list.AddGas(gas, doNotSelect)) return false;
  ShowList();
  return true;
}

bool CGasComboCompletion::AddGas(double oxygen, double helium, bool doNotSelect) {
  CGas gas;
  return gas.SetMix(oxygen, helium) && AddGas(gas, doNotSelect);
}

void CGasComboCompletion::SetListText(const std::string& text) {
  m_list.SetListText(text);
  ShowList();
}

void CGasComboCompletion::SetGas(const CGas& gas) {
  if (gas.IsValid() && m_list.IndexOf(gas.Format(false)) < 0) m_list.AddGas(gas, true);
  m_list.Select(m_list.IndexOf(gas.Format(false)));
  ShowList();
  if (!gas.IsValid()) setEditText(QString());
  m_list.SetLastText(FromQt(currentText()));
}

void CGasComboCompletion::ShowList() {
  const QSignalBlocker block(this);
  const QString text = currentText();
  clear();
  for (const std::string& entry : m_list.Entries()) addItem(ToQt(entry));
  if (m_list.Selected() >= 0)
    setCurrentIndex(m_list.Selected());
  else
    setEditText(text);
}

void CGasComboCompletion::OnTextEdited(const QString& text) {
  const CGasList::SCompletion c = m_list.Complete(FromQt(text));
  if (c.index < 0) return;
  // Show the whole entry with the part not typed yet selected, so typing on
  // replaces it.
  const QString entry = ToQt(c.text);
  lineEdit()->setText(entry);
  lineEdit()->setSelection(entry.size(), static_cast<int>(text.size()) - static_cast<int>(entry.size()));
}

void CGasComboCompletion::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && !view()->isVisible()) {
    // Escape puts back the gas the field showed before the edit.
    const QString before = m_list.LastText() == CGasList::kNotSet ? QString() : ToQt(m_list.LastText());
    if (currentText() != before) {
      setEditText(before);
      lineEdit()->selectAll();
      event->accept();
      return;
    }
    if (EscapeLeavesField(this))
      event->ignore();
    else
      event->accept();
    return;
  }
  m_list.OnKeyPress(event->key() == Qt::Key_Backspace || event->key() == Qt::Key_Delete);
  QComboBox::keyPressEvent(event);
}

void CGasComboCompletion::focusOutEvent(QFocusEvent* event) {
  QComboBox::focusOutEvent(event);
  // Opening the drop-down takes the focus for a moment; that is no leaving.
  if (event->reason() != Qt::PopupFocusReason) LeaveField();
}

void CGasComboCompletion::LoadRememberedGases() { SetListText(Prefs().GetText(EPref::GasMixes)); }

void CGasComboCompletion::LeaveField() {
  const CGasList::SLeaveResult result = m_list.LeaveField(FromQt(currentText()));
  switch (result.action) {
    case CGasList::ELeaveAction::Nothing: return;
    case CGasList::ELeaveAction::Invalid:
      UserPrompt().ShowMessage(result.message, EIcon::Exclamation);
      setEditText(QString());
      {
        const QSignalBlocker block(this);
        setCurrentIndex(-1);
      }
      emit gasChanged(0, 0);
      return;
    case CGasList::ELeaveAction::AddedNew:
      ShowList();
      Prefs().SetText(EPref::GasMixes, GetListText());
      emit gasAdded(Whole(result.gas.Oxygen()), Whole(result.gas.Helium()));
      break;
    case CGasList::ELeaveAction::SelectedExisting: {
      const QSignalBlocker block(this);
      setCurrentIndex(m_list.Selected());
      break;
    }
  }
  // The field shows the gas by its listed name, and that is what was accepted.
  m_list.SetLastText(FromQt(currentText()));
  emit gasChanged(Whole(result.gas.Oxygen()), Whole(result.gas.Helium()));
}

}  // namespace kv::app
