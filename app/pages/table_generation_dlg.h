#pragma once
// "Table Generation": the page that generates whole sets of dive tables over
// ranges of depths and bottom times. It is a view over kv::CTableGeneration:
// the fields edit its inputs, the two lists show its gas switch schedules
// with the state each switch got from the validation, the "Messages" list
// shows its messages, and "Generate Tables" runs it as long work and opens
// the tables in the viewer. The inputs start from the "Table Generation"
// preferences and are written back to them when the page closes or runs.

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

#include "frontend/preference_snapshots.h"
#include "tablegen/table_generation.h"

class QGroupBox;
class QHBoxLayout;
class QVBoxLayout;
class QLabel;
class QListView;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace kv {
class CPlanGroup;
}

namespace kv::app {

class CGasScheduleModel;
class CSpinField;
class CTableMessagesModel;
class IFileChooser;

// The numeric inputs of the page, in the order they are shown.
enum class ETableInput : int {
  DepthStart,
  DepthFinish,
  DepthStep,
  DurationStart,
  DurationFinish,
  DurationStep,
  SurfacePressure,
  GfLow,
  GfHigh,
  DescentRate,
  AscentRate,
  LastDecoStop,
  MaxPpo2,
  MaxEad,
  Count
};

class CTableGenerationDlg final : public QDialog {
  Q_OBJECT
public:
  // Shows a finished table document; the modal viewer unless replaced.
  using DocumentViewer = std::function<void(const std::string&)>;

  // plan: the open plan, whose dives can be imported and whose plan-wide
  // settings the generated dives take (may be nullptr). chooser: the file
  // dialogs (not owned; the platform's when nullptr). preferences: the
  // window's snapshot (units, calculation, tables).
  CTableGenerationDlg(const kv::CPlanGroup* plan, IFileChooser* chooser, QWidget* parent = nullptr,
                      const kv::SPreferenceSnapshot& preferences = kv::TakePreferenceSnapshot());
  ~CTableGenerationDlg() override;

  kv::CTableGeneration& Model() { return m_model; }
  void SetDocumentViewer(DocumentViewer viewer) { m_viewer = std::move(viewer); }

  // ---- Commands -------------------------------------------------------------------
  // Validates and, when allowed, runs the generation off the window's thread
  // under a progress dialog, then opens the tables. True when tables were made.
  bool Generate();
  void ImportSettings();
  void OpenSettings();
  void SaveSettings();
  // Opens the gas switch editor on a row of a schedule (-1: a new switch).
  void EditSwitch(bool descent, int row);
  void DeleteSelectedSwitches(bool descent);

  // Shows the model's inputs, schedules, messages and states again.
  void RefreshFromModel();

  // ---- Parts, for tests ---------------------------------------------------------------
  CSpinField* Field(ETableInput input) const;
  QLabel* FieldLabel(ETableInput input) const;
  QRadioButton* DepthGroupingButton() const { return m_byDepth; }
  QRadioButton* TimeGroupingButton() const { return m_byTime; }
  QTreeView* DescentList() const { return m_descentList; }
  QTreeView* AscentList() const { return m_ascentList; }
  CGasScheduleModel* ScheduleModel(bool descent) const { return descent ? m_descentModel : m_ascentModel; }
  QListView* MessageList() const { return m_messages; }
  CTableMessagesModel* MessagesModel() const { return m_messagesModel; }
  QPushButton* GenerateButton() const { return m_generate; }
  QPushButton* ImportButton() const { return m_import; }
  QPushButton* OpenButton() const { return m_open; }
  QPushButton* SaveButton() const { return m_save; }

signals:
  // A gas typed in the gas switch editor joined the remembered gases.
  void gasListChanged();

protected:
  void done(int result) override;

private:
  struct SField {
    CSpinField* spin = nullptr;
    QLabel* label = nullptr;
  };
  QGroupBox* BuildRangeBox(ETableInput start, ETableInput finish, ETableInput step, QLabel*& title);
  QGroupBox* BuildScheduleBox(bool descent);
  QVBoxLayout* BuildSettingsColumn();
  QVBoxLayout* BuildResultsColumn();
  QHBoxLayout* BuildButtons();
  // The fields, the grouping and the command buttons reach the model.
  void ConnectFields();
  void AddField(ETableInput input);
  void ShowFields();
  void ShowSchedule(bool descent);
  void ShowMessages();
  // Takes a field into the inputs when the user changed what it shows.
  void ReadField(ETableInput input);
  void ReadAllFields();
  void Revalidate();
  void PostRefresh();
  QString ChooseSettingsFile(bool save);

  kv::CTableGeneration m_model;
  const kv::CPlanGroup* m_plan;
  IFileChooser* m_chooser;
  DocumentViewer m_viewer;
  std::vector<SField> m_fields;
  QLabel* m_depthTitle = nullptr;
  QLabel* m_durationTitle = nullptr;
  QRadioButton* m_byDepth = nullptr;
  QRadioButton* m_byTime = nullptr;
  QTreeView* m_descentList = nullptr;
  QTreeView* m_ascentList = nullptr;
  CGasScheduleModel* m_descentModel = nullptr;
  CGasScheduleModel* m_ascentModel = nullptr;
  QListView* m_messages = nullptr;
  CTableMessagesModel* m_messagesModel = nullptr;
  QPushButton* m_generate = nullptr;
  QPushButton* m_import = nullptr;
  QPushButton* m_open = nullptr;
  QPushButton* m_save = nullptr;
  bool m_refreshPosted = false;
};

}  // namespace kv::app
