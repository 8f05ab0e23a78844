#pragma once
// The gas entry field: a drop-down text field that completes typed text from
// its list of known gases, reads the entry when the user leaves it and keeps
// the list in its fixed order (Air, Oxygen, nitrox by oxygen, trimix by
// oxygen then helium). The ordering and reading rules live in kv::CGasList;
// this widget shows the list and turns the results into signals.

#include <QComboBox>
#include <string>

#include "gas/gas.h"
#include "gas/gas_list.h"

namespace kv::app {

class CGasComboCompletion : public QComboBox {
  Q_OBJECT
public:
  explicit CGasComboCompletion(QWidget* parent = nullptr);

  // The field's text read as a gas (invalid for a text that is not one).
  CGas GetGas() const;
  bool AddGas(const CGas& gas, bool doNotSelect = false);
  bool AddGas(double oxygen, double helium, bool doNotSelect = false);
  // Short forms joined by "," ("21/0,100/0,32/0,18/45").
  std::string GetListText() const { return m_list.GetListText(); }
  void SetListText(const std::string& text);
  // The gases remembered in the preferences ("Gas Mix\Gas Mixes"): every
  // entry field fills its list from them, and a gas that joins a list is
  // remembered there before gasAdded is sent.
  void LoadRememberedGases();
  // Shows a gas (a row loaded into the fields): selects its entry, adding it
  // quietly when it is not listed; leaving the field then reports nothing new.
  void SetGas(const CGas& gas);
  bool ListChanged() const { return m_list.ListChanged(); }
  const CGasList& List() const { return m_list; }

  // Reads the text as leaving the field does (also run on focus loss and
  // when an entry is picked from the drop-down).
  void LeaveField();

signals:
  // The gas of the field changed (whole percentages; 0, 0 after an invalid entry).
  void gasChanged(int oxygen, int helium);
  // A gas joined the list.
  void gasAdded(int oxygen, int helium);

protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

private:
  void ShowList();
  void OnTextEdited(const QString& text);

  CGasList m_list;
};

}  // namespace kv::app
