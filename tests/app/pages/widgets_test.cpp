// The gas entry field and the gas switch dialog.

#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QSignalSpy>
#include <QTest>

#include "base/strings.h"
#include "page_test_util.h"
#include "app/widgets/gas_combo_completion.h"
#include "app/widgets/gas_entry_fields.h"
#include "app/dialogs/gas_switch_edit.h"
#include "app/widgets/spin_field.h"

namespace kv::test {
namespace {

using app::CGasComboCompletion;

QStringList Items(const QComboBox& box) {
  QStringList items;
  for (int i = 0; i < box.count(); ++i) items << box.itemText(i);
  return items;
}

TEST(GasComboCompletion, CompletesWhileTypingAndBackspaceStopsIt) {
  CTestEnvironment env;
  GuiApp();
  CGasComboCompletion field;
  field.SetListText("21/0,100/0,32/0,18/45,21/35");
  EXPECT_EQ(Items(field), (QStringList{"Air", "Oxygen", "32% Nitrox", "18/45", "21/35"}));
  field.show();
  field.setFocus();
  field.lineEdit()->clear();

  QTest::keyClicks(&field, "3");
  EXPECT_EQ(field.currentText(), "32% Nitrox");
  EXPECT_EQ(field.lineEdit()->selectedText(), "2% Nitrox");
  // Typing on replaces the completed tail.
  QTest::keyClicks(&field, "6");
  EXPECT_EQ(field.currentText(), "36");
  QTest::keyClick(&field, Qt::Key_Backspace);
  EXPECT_EQ(field.currentText(), "3");  // no completion after Backspace
  QTest::keyClicks(&field, "%");
  EXPECT_EQ(field.currentText(), "3%");
  field.lineEdit()->clear();
  QTest::keyClicks(&field, "21/");
  EXPECT_EQ(field.currentText(), "21/35");
}

TEST(GasComboCompletion, LeavingTheFieldAddsNewGasesInOrderAndTellsTheParent) {
  CTestEnvironment env;
  GuiApp();
  CGasComboCompletion field;
  field.SetListText("21/0,100/0,32/0,21/35");
  QSignalSpy added(&field, &CGasComboCompletion::gasAdded);
  QSignalSpy changed(&field, &CGasComboCompletion::gasChanged);

  field.setEditText("18/45");
  field.LeaveField();
  EXPECT_EQ(Items(field), (QStringList{"Air", "Oxygen", "32% Nitrox", "18/45", "21/35"}));
  ASSERT_EQ(added.size(), 1);
  EXPECT_EQ(added[0], (QList<QVariant>{18, 45}));
  ASSERT_EQ(changed.size(), 1);
  EXPECT_EQ(changed[0], (QList<QVariant>{18, 45}));
  EXPECT_TRUE(field.ListChanged());
  EXPECT_EQ(field.GetListText(), "21/0,100/0,32/0,18/45,21/35");

  // The same text again does nothing; a listed gas is selected and reported.
  field.LeaveField();
  EXPECT_EQ(changed.size(), 1);
  field.setEditText("air");
  field.LeaveField();
  EXPECT_EQ(field.currentIndex(), 0);
  EXPECT_EQ(added.size(), 1);
  ASSERT_EQ(changed.size(), 2);
  EXPECT_EQ(changed[1], (QList<QVariant>{21, 0}));

  field.setEditText("50%");
  field.LeaveField();
  EXPECT_EQ(field.itemText(3), "50% Nitrox");
}

TEST(GasComboCompletion, AnInvalidEntryShowsTheEntryStylesAndEmptiesTheField) {
  CTestEnvironment env;
  GuiApp();
  CGasComboCompletion field;
  field.SetListText("21/0");
  QSignalSpy changed(&field, &CGasComboCompletion::gasChanged);
  field.setEditText("10/91");
  field.LeaveField();
  ASSERT_EQ(env.prompt.shown.size(), 1u);
  EXPECT_EQ(env.prompt.shown[0].text, LoadString(1264));
  EXPECT_EQ(env.prompt.shown[0].icon, EIcon::Exclamation);
  EXPECT_TRUE(field.currentText().isEmpty());
  ASSERT_EQ(changed.size(), 1);
  EXPECT_EQ(changed[0], (QList<QVariant>{0, 0}));
  EXPECT_FALSE(field.GetGas().IsValid());
  EXPECT_EQ(field.count(), 1);
}

TEST(GasSwitchEdit, ButtonsFollowTheDepthAndTheSchedule) {
  CGasSwitchSchedule descent(true);
  descent.SetQuiet(true);
  CGasSwitch s;
  s.Set(0, 21, 0, true, 0.7, true);
  descent.Add(s);
  s.Set(21, 50, 0, false, 0, true);
  descent.Add(s);

  using app::GasSwitchButtons;
  using B = app::SGasSwitchButtons;
  // A new switch: Add while the depth is free; Delete needs one entry.
  EXPECT_EQ(GasSwitchButtons(descent, -1, 30, false), (B{true, false, true}));
  EXPECT_EQ(GasSwitchButtons(descent, -1, 21, false), (B{false, false, true}));
  // Editing the 21 m switch: Update at its own depth or a free one.
  EXPECT_EQ(GasSwitchButtons(descent, 1, 21, false), (B{false, true, true}));
  EXPECT_EQ(GasSwitchButtons(descent, 1, 0, false), (B{false, false, true}));
  // The surface entry stays at 0 m and cannot be deleted.
  EXPECT_EQ(GasSwitchButtons(descent, 0, 0, false), (B{false, true, false}));
  EXPECT_EQ(GasSwitchButtons(descent, 0, 10, false), (B{true, false, false}));
  // 21 m shows as 68 ft.
  EXPECT_FALSE(GasSwitchButtons(descent, -1, 68, true).add);

  for (int depth = 30; descent.Count() < 12; depth += 3) {
    s.Set(depth, 21 + descent.Count(), 0, false, 0, true);
    descent.Add(s);
  }
  EXPECT_FALSE(GasSwitchButtons(descent, -1, 200, false).add);
}

TEST(GasSwitchEdit, OpenCircuitShowsThePpo2AndTheResultIsInMetres) {
  CTestEnvironment env;
  GuiApp();
  CGasSwitchSchedule ascent(false);
  app::CGasSwitchEdit dialog("Deco Gas", ascent, -1, true);
  EXPECT_TRUE(dialog.Fields().ClosedCircuitButton()->isChecked());  // the preferred mode
  EXPECT_DOUBLE_EQ(dialog.Fields().SetpointField()->value(), 1.3);
  dialog.Fields().OpenCircuitButton()->click();
  dialog.DepthField()->setValue(70);
  dialog.Fields().GasField()->setEditText("50%");
  dialog.Fields().GasField()->LeaveField();
  EXPECT_EQ(dialog.Fields().Ppo2Display()->text(), "1.57");  // (70 x 0.30705 / 10 + 1) x 0.5
  const CGasSwitch r = dialog.Result();
  EXPECT_NEAR(r.m_depth, 70 * 0.30705, 1e-12);
  EXPECT_EQ(r.m_oxygen, 50.0);
  EXPECT_FALSE(r.m_closedCircuit);
  EXPECT_EQ(r.m_setpoint, 0.0);
  EXPECT_TRUE(r.m_inUse);
  // The typed gas joined the remembered gases.
  EXPECT_EQ(Prefs().GetText(EPref::GasMixes), "21/0,50/0");
}

TEST(GasSwitchEdit, AnEditedSwitchLeftAtItsDepthInFeetKeepsItsMetres) {
  CTestEnvironment env;
  GuiApp();
  CGasSwitchSchedule ascent(false);
  CGasSwitch oxygen;
  oxygen.Set(6.0, 100, 0, false, 0.0, true);
  ascent.Add(oxygen);
  app::CGasSwitchEdit dialog("Deco Gas", ascent, 0, true);
  EXPECT_EQ(dialog.DepthField()->value(), 20);  // 19.54 ft
  EXPECT_EQ(dialog.Result().m_depth, 6.0) << "not 20 ft = 6.141 m";
  dialog.DepthField()->setValue(21);
  EXPECT_NEAR(dialog.Result().m_depth, 21 * 0.30705, 1e-12);
}

TEST(GasSwitchEdit, TabWalksDepthModeGasSetpointThenTheButtonsOffered) {
  CTestEnvironment env;
  GuiApp();
  CGasSwitchSchedule ascent(false);
  app::CGasSwitchEdit dialog("Deco Gas", ascent, -1, false);
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  const std::vector<std::pair<QWidget*, std::string>> named = {
      {dialog.DepthField(), "depth"}, {dialog.Fields().ClosedCircuitButton(), "CC"}, {dialog.Fields().OpenCircuitButton(), "OC"},
      {dialog.Fields().GasField(), "gas"},     {dialog.Fields().SetpointField(), "setpoint"}};
  const std::vector<std::string> walked = TabWalk(dialog.DepthField(), named, 6);
  // On an empty schedule only Add and Cancel are offered.
  EXPECT_EQ(walked, (std::vector<std::string>{"depth", "CC", "gas", "setpoint", "QPushButton", "QPushButton"}));
}

// The depth a host fills in is held in metres through unit switches until
// the user types another; the PPO2 follows the depth, the gas and the surface.
TEST(GasEntryFields, AFilledDepthKeepsItsMetresAndThePpo2FollowsTheEntry) {
  CTestEnvironment env;
  GuiApp();
  QWidget host;
  app::CGasEntryFields fields(&host, false);
  fields.SetDepthMetres(40.0);
  fields.SetImperial(true);
  EXPECT_EQ(fields.DepthField()->value(), 130);
  EXPECT_EQ(fields.DepthMetres(), 40.0) << "not 130 ft = 39.92 m";
  fields.SetImperial(false);
  EXPECT_EQ(fields.DepthField()->value(), 40);
  EXPECT_EQ(fields.DepthMetres(), 40.0);

  QSignalSpy edited(&fields, &app::CGasEntryFields::edited);
  fields.OpenCircuitButton()->click();
  EXPECT_FALSE(fields.SetpointField()->isVisibleTo(&host));
  EXPECT_TRUE(fields.Ppo2Display()->isVisibleTo(&host));
  CGas nitrox;
  ASSERT_TRUE(nitrox.SetMix(32, 0));
  fields.SetGas(nitrox);
  fields.DepthField()->setValue(30);
  EXPECT_EQ(fields.DepthMetres(), 30.0);
  EXPECT_EQ(fields.Ppo2Display()->text(), "1.28");  // (30 / 10 + 1) x 0.32
  EXPECT_EQ(edited.count(), 2) << "the click and the depth typed; a fill reports nothing";
  fields.SetSurfacePressureSource([] { return 900.0; });
  fields.RefreshDisplay();
  EXPECT_EQ(fields.Ppo2Display()->text(), "1.25");  // (900 + 3000) / 1000 x 0.32

  // A typed text that is not a gas is refused when the fields are taken.
  fields.GasField()->setEditText("abc");
  EXPECT_FALSE(fields.Commit());
  EXPECT_EQ(env.prompt.shown.size(), 1u) << "the gas field says why";
  fields.GasField()->setEditText("");
  EXPECT_TRUE(fields.Commit()) << "an empty gas field is for the host to judge";
}

}  // namespace
}  // namespace kv::test
