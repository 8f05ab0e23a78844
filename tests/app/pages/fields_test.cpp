// The numeric fields of every page and dialog: what is typed is kept while
// typing, brought into range on leaving with a note that says why, Escape
// puts back the value before the edit, and all of them are the one field.

#include <gtest/gtest.h>

#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QVBoxLayout>
#include <cmath>

#include "app/dialogs/plan_group_settings.h"
#include "app/dialogs/preferences_dialog.h"
#include "app/pages/table_generation_dlg.h"
#include "app/widgets/spin_field.h"
#include "page_test_util.h"

namespace kv::test {
namespace {

using app::CSpinField;

void Type(CSpinField* field, const QString& text) {
  field->setFocus();
  field->selectAll();
  QTest::keyClicks(field, text);
}

// Every numeric field of the window: the one field class, and out-of-range
// typing is taken whole and brought to the nearest limit, visibly.
int CheckEveryField(QWidget& window, const char* name) {
  SCOPED_TRACE(name);
  const QList<QAbstractSpinBox*> boxes = window.findChildren<QAbstractSpinBox*>();
  int checked = 0;
  for (QAbstractSpinBox* box : boxes) {
    auto* field = qobject_cast<CSpinField*>(box);
    EXPECT_NE(field, nullptr) << box->metaObject()->className() << " is not the program's field";
    if (!field || !field->isEnabled()) continue;
    SCOPED_TRACE(field->objectName().toStdString() + " " + field->text().toStdString());
    // Far above the maximum, typed as a whole number of the field's unit.
    const QString tooMuch = qobject_cast<app::CIntervalField*>(field)
                                ? QStringLiteral("99:00")
                                : QString::number(static_cast<long long>(std::floor(field->maximum())) * 10 + 7);
    Type(field, tooMuch);
    EXPECT_EQ(field->text(), tooMuch) << "no keystroke is lost while typing";
    field->Commit();
    EXPECT_DOUBLE_EQ(field->value(), field->maximum());
    EXPECT_FALSE(field->RangeNote().isEmpty());
    if (field->minimum() > 0.0) {
      Type(field, QStringLiteral("0"));
      field->Commit();
      EXPECT_DOUBLE_EQ(field->value(), field->minimum());
      EXPECT_TRUE(field->RangeNote().contains(QStringLiteral("smallest"))) << field->RangeNote().toStdString();
    }
    ++checked;
  }
  return checked;
}

TEST(Fields, TypingPastTheLimitIsKeptAndBroughtIntoRangeOnLeaving) {
  CTestEnvironment env;
  GuiApp();
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* depth = new CSpinField(&window);
  layout->addWidget(depth);
  layout->addWidget(new CSpinField(&window));
  CSpinField& field = *depth;
  field.SetLimits(0, 305, 1, 0);
  field.setValue(40);
  window.show();
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QSignalSpy posted(&field, &CSpinField::posted);

  Type(&field, "400");
  EXPECT_EQ(field.text(), "400");
  EXPECT_EQ(field.value(), 40.0) << "taken only on leaving";
  QTest::keyClick(&field, Qt::Key_Tab);
  EXPECT_EQ(field.value(), 305.0);
  EXPECT_EQ(field.text(), "305");
  EXPECT_EQ(field.RangeNote(), "400 is more than this field takes: it is set to 305, the largest value.");
  EXPECT_EQ(posted.count(), 1);
  // The note stands beside the field.
  auto* note = field.window()->findChild<QLabel*>(QString::fromLatin1(app::kFieldNoteName));
  ASSERT_NE(note, nullptr);
  EXPECT_TRUE(note->isVisible());
  EXPECT_EQ(note->text(), field.RangeNote());

  // A value in range is taken as typed, without a note.
  Type(&field, "12");
  field.Commit();
  EXPECT_EQ(field.value(), 12.0);
  EXPECT_TRUE(field.RangeNote().isEmpty());

  // Decimals: as many as the field shows, no more; a sign is typed too.
  CSpinField setpoint;
  setpoint.SetLimits(0.5, 1.5, 0.01, 2);
  setpoint.setValue(1.0);
  Type(&setpoint, "1.6");
  EXPECT_EQ(setpoint.text(), "1.6");
  QTest::keyClicks(&setpoint, "55");
  EXPECT_EQ(setpoint.text(), "1.65") << "a third decimal is refused";
  setpoint.Commit();
  EXPECT_DOUBLE_EQ(setpoint.value(), 1.5);
  Type(&setpoint, "-1");
  setpoint.Commit();
  EXPECT_DOUBLE_EQ(setpoint.value(), 0.5);
  Type(&setpoint, "x");
  EXPECT_EQ(setpoint.text(), "0.50") << "letters are refused";
}

TEST(Fields, EscapeRevertsTheEditAndClosesOnlyADialogWithoutOne) {
  CTestEnvironment env;
  GuiApp();
  QWidget window;
  auto* field = new CSpinField(&window);
  field->SetLimits(0, 100, 1, 0);
  field->setValue(20);
  window.show();
  Type(field, "85");
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(field, &escape);
  EXPECT_TRUE(escape.isAccepted());
  EXPECT_EQ(field->text(), "20");
  EXPECT_EQ(field->value(), 20.0);
  // Nothing left to revert: a window other than a dialog keeps the Escape here.
  QKeyEvent again(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(field, &again);
  EXPECT_TRUE(again.isAccepted());

  QDialog dialog;
  auto* inDialog = new CSpinField(&dialog);
  inDialog->SetLimits(0, 100, 1, 0);
  dialog.show();
  QKeyEvent close(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QCoreApplication::sendEvent(inDialog, &close);
  EXPECT_FALSE(dialog.isVisible()) << "a dialog closes as usual";
}

TEST(Fields, HoursAndMinutesTakeWholeHoursAndStopAtTheLimit) {
  CTestEnvironment env;
  GuiApp();
  app::CIntervalField field;
  field.SetLimits(0, 23 * 60 + 59, 1, 0);
  field.show();
  Type(&field, "2");
  field.Commit();
  EXPECT_EQ(field.value(), 120.0);
  EXPECT_EQ(field.text(), "2:00");
  Type(&field, "1:30");
  field.Commit();
  EXPECT_EQ(field.value(), 90.0);
  Type(&field, "30:00");
  EXPECT_EQ(field.text(), "30:00");
  field.Commit();
  EXPECT_EQ(field.text(), "23:59");
  EXPECT_FALSE(field.RangeNote().isEmpty());
  Type(&field, "1:75");
  EXPECT_EQ(field.text(), "1:7") << "minutes stop below 60";
}

TEST(Fields, EveryFieldOfThePagesAndDialogsBehavesTheSame) {
  CPageHarness h;
  EXPECT_EQ(CheckEveryField(*h.page, "dive page"), 3 + 10) << "entry fields and dive settings";

  app::CPreferencesDialog preferences;
  preferences.show();
  int checked = 0;
  for (int i = 0; i < preferences.Pages()->count(); ++i) {
    preferences.Pages()->setCurrentIndex(i);
    checked += CheckEveryField(*preferences.Pages()->widget(i), "preferences");
  }
  EXPECT_GE(checked, 20);

  app::CPlanGroupSettings settings({0, 1, 232, 33}, false);
  settings.show();
  EXPECT_EQ(CheckEveryField(settings, "plan settings"), 2);

  app::CTableGenerationDlg generation(nullptr, nullptr);
  generation.show();
  EXPECT_EQ(CheckEveryField(generation, "table generation"), static_cast<int>(app::ETableInput::Count));
}

}  // namespace
}  // namespace kv::test
