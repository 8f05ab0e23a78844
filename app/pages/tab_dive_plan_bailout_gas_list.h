#pragma once
// "Bailout Gas List": the gases the bailout planner may choose from, at most
// 12, shown Air and Oxygen first, then nitrox and trimix mixes; added from a
// gas entry field, deleted, and loaded from or saved to gas mix list files.

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "gas/gas.h"

class QListWidget;
class QPushButton;

namespace kv::app {

class CGasComboCompletion;

// The rows of a list text in display order: the first "21/0", then the first
// "100/0", then the nitrox mixes and the trimix mixes, each by oxygen and
// then helium. Items are read as "O2/He" or as a typed gas ("Air", "50%");
// unreadable items are left out.
std::vector<CGas> BailoutGasListRows(const std::string& listText);

class CTabDivePlanBailoutGasList : public QWidget {
  Q_OBJECT
public:
  static constexpr int kMaxGases = 12;
  // Asks for a file to open (save false) or save to; an empty text cancels.
  using FileChooser = std::function<QString(bool save)>;

  explicit CTabDivePlanBailoutGasList(QWidget* parent = nullptr);

  // Shows a list text (the dive's) without reporting a change.
  void SetListText(const std::string& text);
  // The short forms of the rows that read as valid gases, joined by ",".
  std::string ListText() const;
  int Count() const;
  void SetFileChooser(FileChooser chooser) { m_chooseFile = std::move(chooser); }
  // Reloads the entry field's remembered gases from the preferences.
  void ReloadGasMixes();
  void Retranslate();

  CGasComboCompletion* GasField() const { return m_gas; }
  QListWidget* List() const { return m_list; }
  QPushButton* AddButton() const { return m_add; }
  QPushButton* DeleteButton() const { return m_delete; }
  QPushButton* LoadButton() const { return m_load; }
  QPushButton* SaveButton() const { return m_save; }

  void Add();
  void DeleteSelected();
  void Load();
  void Save();

signals:
  // The list changed by the user (WM_APP + 300).
  void listChanged();
  // A gas typed into the entry field joined the remembered gases.
  void gasListChanged();

private:
  void ShowRows(const std::vector<CGas>& rows);
  void UpdateButtons();
  QString ChooseFile(bool save);

  CGasComboCompletion* m_gas = nullptr;
  QListWidget* m_list = nullptr;
  QPushButton* m_add = nullptr;
  QPushButton* m_delete = nullptr;
  QPushButton* m_load = nullptr;
  QPushButton* m_save = nullptr;
  std::vector<CGas> m_rows;
  FileChooser m_chooseFile;
};

}  // namespace kv::app
