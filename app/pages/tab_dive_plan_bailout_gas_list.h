#pragma once
// "Bailout Gas List": the gases the bailout planner may choose from, shown
// Air and Oxygen first, then nitrox and trimix mixes; added from a gas entry
// field, deleted, and loaded from or saved to gas mix list files. The page
// shows what the planner will use: an item it leaves out (not a mix written
// as O2/He, or after the 12th) is greyed, with the reason in its tooltip.
// The list keeps its items as written; adding appends the new gas.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "gas/gas_mix_list.h"

class QListView;
class QPushButton;

namespace kv::app {

class CGasComboCompletion;
class CGasMixListModel;

class CTabDivePlanBailoutGasList : public QWidget {
  Q_OBJECT
public:
  // Asks for a file to open (save false) or save to; an empty text cancels.
  using FileChooser = std::function<QString(bool save)>;

  explicit CTabDivePlanBailoutGasList(QWidget* parent = nullptr);

  // Shows a list text (the dive's) without reporting a change.
  void SetListText(const std::string& text);
  // The list's text: its items as written.
  std::string ListText() const { return m_items.Text(); }
  const CGasMixList& Items() const { return m_items; }
  // The rows shown: every item of the list.
  int Count() const { return m_items.Count(); }
  void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
  // Reloads the entry field's remembered gases from the preferences.
  void ReloadGasMixes();
  void Retranslate();

  CGasComboCompletion* GasField() const { return m_gas; }
  QListView* List() const { return m_list; }
  CGasMixListModel* ListModel() const { return m_rows; }
  QPushButton* AddButton() const { return m_add; }
  QPushButton* DeleteButton() const { return m_delete; }
  QPushButton* LoadButton() const { return m_load; }
  QPushButton* SaveButton() const { return m_save; }

  void Add();
  void DeleteSelected();
  void Load();
  void Save();

signals:
  // The user changed the list.
  void listChanged();
  // A gas typed into the entry field joined the remembered gases.
  void gasListChanged();

private:
  void ShowRows();
  void UpdateButtons();
  QString ChooseFile(bool save);

  CGasComboCompletion* m_gas = nullptr;
  QListView* m_list = nullptr;
  CGasMixListModel* m_rows = nullptr;  // the rows of m_items, as shown
  QPushButton* m_add = nullptr;
  QPushButton* m_delete = nullptr;
  QPushButton* m_load = nullptr;
  QPushButton* m_save = nullptr;
  CGasMixList m_items;
  FileChooser m_chooseFile;
};

}  // namespace kv::app
