#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <sys/stat.h>
#include <unistd.h>

#include "base/value_ranges.h"
#include "plan_test_util.h"

namespace kv {
namespace {

using test::ReadFile;

constexpr const char* kDefaultDiveSection =
    "Dive\r\n020~\r\n021~1000.00\r\n022~20.00\r\n023~80.00\r\n024~30.00\r\n025~1.60\r\n026~35.00\r\n027~0\r\n"
    "028~20.00\r\n029~10.00\r\n030~6.00\r\n040~2\r\n041~100.00\r\n042~100.00\r\n043~30.00\r\n044~1.60\r\n"
    "045~40.00\r\n046~100.00\r\n047~20.00\r\n048~10.00\r\n049~6.00\r\n050~0\r\n051~0\r\n052~0\r\n055~0\r\n"
    "056~0.00\r\n057~0\r\n058~-1\r\n060~\r\n";

class PlanFilesTest : public ::testing::Test {
protected:
  void SetUp() override {
    dir = test::TempDir();
    group.SetSink(&sink);
  }
  std::string Path(const std::string& name) const { return dir + "/" + name; }

  // Two dives with every kind of key set away from its default.
  void BuildPlan(CPlanGroup& g) {
    g.SetSurfaceIntervalAlgorithm(1);
    g.SetCylinderWorkingPressure(232);
    g.SetGasReserve(25);
    g.AddDivePlan();
    CDivePlan& a = *g.GetDive(0);
    a.SetName("Wreck, deep part");
    a.SetSurfacePressure(1013);
    a.SetGfLow(30);
    a.SetGfHigh(75);
    a.SetSacRate(18.5);
    a.SetMaxPpo2(1.4);
    a.SetMaxEad(30);
    a.SetDescentRate(18);
    a.SetAscentRate(9);
    a.SetLastDecoStop(3);
    a.SetBailoutNoOfGasSwitches(3);
    a.SetBailoutGfLow(50);
    a.SetBailoutGfHigh(85);
    a.SetBailoutSacRate(25);
    a.SetBailoutMaxPpo2(1.5);
    a.SetBailoutMaxEad(33);
    a.SetBailoutMaxCns(150);
    a.SetBailoutDescentRate(15);
    a.SetBailoutAscentRate(8);
    a.SetBailoutLastDecoStop(4.5);
    a.SetBailoutUseGasList(true);
    a.SetBailoutIgnoreIcd(true);
    a.SetBailoutIgnoreCns(true);
    a.SetBailoutGasList("15/55, 21/35, 50%, Oxygen");
    a.Bailout().time = 1234;
    a.Bailout().depth = 42.5;
    a.SetBailoutPlanValid(true);
    a.Bailout().remainder = 366;
    a.AppendUserPoint(test::Point(0, 0, 10, 50, true, 0.7));
    CPlanPoint deep = test::Point(60, 1500, 10, 50, true, 1.3);
    deep.m_noClearSurface = 1;
    a.AppendUserPoint(deep);
    CPlanPoint bail = test::Point(42.5, 0, 0, 0, false, 0.7);
    bail.m_bailout = 1;
    a.AppendBailoutPoint(test::Point(0, 0, 10, 50, true, 0.7));
    a.AppendBailoutPoint(bail);
    CDivePlan& b = *g.GetDive(1);
    b.SetSurfaceInterval(5400);
    b.AppendUserPoint(test::Point(0, 0, 32));
    b.AppendUserPoint(test::Point(20.3, 2700, 32));
  }

  std::string SavedText(CPlanGroup& g) {
    const std::string p = Path("resaved.ccp");
    EXPECT_TRUE(g.SavePlanGroup(p));
    return ReadFile(p);
  }

  test::CTestEnvironment env;
  test::CRecordingSink sink;
  CPlanGroup group;
  std::string dir;
};

TEST_F(PlanFilesTest, DiveSectionHasEveryKeyInOrderWithCrLf) {
  ASSERT_TRUE(group.ExportDive(Path("d.ccd"), 0));
  EXPECT_EQ(ReadFile(Path("d.ccd")), kDefaultDiveSection);
  ASSERT_TRUE(group.SavePlanGroup(Path("p.ccp")));
  // A new plan holds the preferences' default cylinder and reserve, never
  // 0 bar and 0 %, which no page allows and the reader refuses.
  EXPECT_EQ(ReadFile(Path("p.ccp")),
            std::string("Dive Plan\r\n001~0\r\n002~1\r\n003~240.00\r\n004~33.00\r\n") + kDefaultDiveSection);
  CPlanGroup again;
  EXPECT_TRUE(again.LoadPlanGroup(Path("p.ccp"))) << again.GetFileError();
}

TEST_F(PlanFilesTest, PointLinesCarryEveryField) {
  CDivePlan& d = *group.GetDive(0);
  CPlanPoint p = test::Point(45.25, 754, 18, 45, true, 1.25);
  p.m_noClearSurface = 1;
  p.m_bailout = 1;  // not written on a user point
  d.AppendUserPoint(p);
  d.AppendBailoutPoint(p);
  ASSERT_TRUE(group.ExportDive(Path("d.ccd"), 0));
  const std::vector<std::string> lines = SplitLines(ReadFile(Path("d.ccd")));
  ASSERT_EQ(lines.size(), 32u);
  EXPECT_EQ(lines[30], "100~754~4525.00~1~18.00~45.00~1.25~1~0");
  EXPECT_EQ(lines[31], "110~754~4525.00~1~18.00~45.00~1.25~1~1");
}

TEST_F(PlanFilesTest, SavedPlanReadsBackTheSame) {
  BuildPlan(group);
  const std::string path = Path("plan.ccp");
  ASSERT_TRUE(group.SavePlanGroup(path));
  EXPECT_FALSE(group.IsModified());
  EXPECT_EQ(group.GetFilePath(), path);
  const std::string saved = ReadFile(path);

  CPlanGroup loaded;
  test::CRecordingSink s;
  loaded.SetSink(&s);
  ASSERT_TRUE(loaded.LoadPlanGroup(path));
  ASSERT_EQ(loaded.GetDiveCount(), 2);
  EXPECT_EQ(loaded.GetFilePath(), path);
  EXPECT_FALSE(loaded.IsModified());
  EXPECT_FALSE(loaded.GetDive(0)->IsModified());
  EXPECT_EQ(loaded.GetSurfaceIntervalAlgorithm(), 1);
  EXPECT_DOUBLE_EQ(loaded.GetCylinderWorkingPressure(), 232);
  const CDivePlan& a = *loaded.GetDive(0);
  EXPECT_EQ(a.GetName(), "Wreck, deep part");
  EXPECT_DOUBLE_EQ(a.GetSacRate(), 18.5);
  EXPECT_DOUBLE_EQ(a.BailoutSettings().lastDecoStop, 4.5);
  EXPECT_TRUE(a.BailoutSettings().ignoreCns);
  EXPECT_EQ(a.GetBailoutGasList(), "15/55, 21/35, 50%, Oxygen");
  EXPECT_EQ(a.Bailout().time, 1234);
  EXPECT_DOUBLE_EQ(a.Bailout().depth, 42.5);
  EXPECT_TRUE(a.IsBailoutPlanValid());
  EXPECT_EQ(a.Bailout().remainder, 366);
  ASSERT_EQ(a.UserPoints().size(), 2u);
  EXPECT_EQ(a.UserPoints()[1].m_noClearSurface, 1);
  EXPECT_DOUBLE_EQ(a.UserPoints()[1].m_setpoint, 1.3);
  ASSERT_EQ(a.BailoutPlanPoints().size(), 2u);
  EXPECT_EQ(a.BailoutPlanPoints()[1].m_bailout, 1);
  EXPECT_EQ(a.BailoutPlanPoints()[0].m_bailout, 0);
  EXPECT_EQ(loaded.GetDive(1)->GetSurfaceInterval(), 5400);
  EXPECT_DOUBLE_EQ(loaded.GetDive(1)->UserPoints()[1].Depth(), 20.3);
  EXPECT_EQ(SavedText(loaded), saved) << "every value survives the round trip";

  loaded.DeliverNotifications();
  ASSERT_FALSE(s.received.empty());
  EXPECT_EQ(s.received.back(), test::Loaded(0)) << "the window hears of the load last";
  for (const SPlanNotification& n : s.received) EXPECT_NE(n.kind, EPlanNotification::ModifiedChanged);
}

TEST_F(PlanFilesTest, NumbersAreWrittenWithAPointInACommaLocale) {
  test::CCommaLocale comma;
  if (!comma.Active()) GTEST_SKIP() << "no comma-decimal locale installed";
  BuildPlan(group);
  ASSERT_TRUE(group.SavePlanGroup(Path("plan.ccp")));
  const std::string text = ReadFile(Path("plan.ccp"));
  EXPECT_NE(text.find("024~18.50\r\n"), std::string::npos);
  EXPECT_EQ(text.find("18,50"), std::string::npos);
  CPlanGroup loaded;
  ASSERT_TRUE(loaded.LoadPlanGroup(Path("plan.ccp")));
  EXPECT_DOUBLE_EQ(loaded.GetDive(0)->GetSacRate(), 18.5);
}

// Whatever a page accepts, in metric or imperial units, is saved and read
// back, also where a converted imperial limit lies outside the metric one
// (164 ft/min is 50.36 m/min) and under a comma locale.
TEST_F(PlanFilesTest, ValuesAtTheEdgesOfEveryFieldReadBackInBothUnitSystems) {
  test::CCommaLocale comma;
  using Setter = std::function<void(CDivePlan&, double)>;
  const std::vector<std::pair<int, Setter>> settings = {
      {21, [](CDivePlan& d, double v) { d.SetSurfacePressure(v); }},
      {22, [](CDivePlan& d, double v) { d.SetGfLow(v); }},
      {23, [](CDivePlan& d, double v) { d.SetGfHigh(v); }},
      {24, [](CDivePlan& d, double v) { d.SetSacRate(v); }},
      {25, [](CDivePlan& d, double v) { d.SetMaxPpo2(v); }},
      {26, [](CDivePlan& d, double v) { d.SetMaxEad(v); }},
      {27, [](CDivePlan& d, double v) { d.SetSurfaceInterval(static_cast<int>(v)); }},
      {28, [](CDivePlan& d, double v) { d.SetDescentRate(v); }},
      {29, [](CDivePlan& d, double v) { d.SetAscentRate(v); }},
      {30, [](CDivePlan& d, double v) { d.SetLastDecoStop(v); }},
      {40, [](CDivePlan& d, double v) { d.SetBailoutNoOfGasSwitches(static_cast<int>(v)); }},
      {41, [](CDivePlan& d, double v) { d.SetBailoutGfLow(v); }},
      {42, [](CDivePlan& d, double v) { d.SetBailoutGfHigh(v); }},
      {43, [](CDivePlan& d, double v) { d.SetBailoutSacRate(v); }},
      {44, [](CDivePlan& d, double v) { d.SetBailoutMaxPpo2(v); }},
      {45, [](CDivePlan& d, double v) { d.SetBailoutMaxEad(v); }},
      {46, [](CDivePlan& d, double v) { d.SetBailoutMaxCns(v); }},
      {47, [](CDivePlan& d, double v) { d.SetBailoutDescentRate(v); }},
      {48, [](CDivePlan& d, double v) { d.SetBailoutAscentRate(v); }},
      {49, [](CDivePlan& d, double v) { d.SetBailoutLastDecoStop(v); }},
  };
  auto held = [](const SValueRange& r, bool imperial, bool highest) {
    if (!imperial) return highest ? r.metric.maximum : r.metric.minimum;
    return r.ImperialToHeld(highest ? r.imperial.maximum : r.imperial.minimum);
  };
  for (const bool imperial : {false, true}) {
    for (const bool highest : {false, true}) {
      SCOPED_TRACE(std::string(imperial ? "imperial " : "metric ") + (highest ? "maximum" : "minimum"));
      CPlanGroup g;
      g.SetCylinderWorkingPressure(held(PlanKeyRange(3)->Range(), imperial, highest));
      g.SetGasReserve(held(PlanKeyRange(4)->Range(), imperial, highest));
      CDivePlan& d = *g.GetDive(0);
      for (const auto& [key, set] : settings) set(d, held(PlanKeyRange(key)->Range(), imperial, highest));
      const SValueRange& depth = ValueRange(EValue::Depth);
      d.AppendUserPoint(test::Point(0, 0));
      d.AppendUserPoint(test::Point(held(depth, imperial, highest), 21600, 10, 70, true, highest ? 1.5 : 0.5));
      ASSERT_TRUE(g.SavePlanGroup(Path("edges.ccp")));
      CPlanGroup loaded;
      ASSERT_TRUE(loaded.LoadPlanGroup(Path("edges.ccp"))) << loaded.GetFileError();
      EXPECT_NEAR(loaded.GetDive(0)->GetDescentRate(), d.GetDescentRate(), 0.005);
      EXPECT_NEAR(loaded.GetDive(0)->UserPoints()[1].Depth(), d.UserPoints()[1].Depth(), 0.0001);
    }
  }
}

// What the reader accepts, the writer writes with two decimals; that must be
// accepted again, also at the edges and for a gas whose parts round up.
TEST_F(PlanFilesTest, AcceptedValuesStayAcceptedWhenSavedAgain) {
  const char* lines[] = {"030~6.146", "030~6.149", "028~50.359", "024~7.921", "029~0.921",
                         "100~60~1000.00~0~20.005~79.985~0.70~0~0", "100~60~30704.996~0~21~0~0.70~0~0"};
  for (const char* line : lines) {
    test::WriteFile(Path("edge.ccp"), std::string("Dive Plan\r\nDive\r\n") + line + "\r\n");
    CPlanGroup first;
    ASSERT_TRUE(first.LoadPlanGroup(Path("edge.ccp"))) << line << ": " << first.GetFileError();
    ASSERT_TRUE(first.SavePlanGroup(Path("again.ccp")));
    CPlanGroup second;
    EXPECT_TRUE(second.LoadPlanGroup(Path("again.ccp"))) << line << ": " << second.GetFileError();
  }
  test::WriteFile(Path("edge.ccp"), "Dive Plan\r\nDive\r\n030~6.151\r\n");
  EXPECT_FALSE(group.LoadPlanGroup(Path("edge.ccp"))) << "beyond 20 ft";
  EXPECT_EQ(group.GetFileError(), "line 3: key 030 (last decompression stop): 6.151 is outside 3 to 6 m (10 to 20 ft)");
}

TEST_F(PlanFilesTest, ALongFileNameIsSaved) {
  // The longest name the system allows: a temporary name built from it would not fit.
  const std::string path = Path(std::string(251, 'p') + ".ccp");
  ASSERT_TRUE(group.SavePlanGroup(path));
  CPlanGroup loaded;
  EXPECT_TRUE(loaded.LoadPlanGroup(path));
}

TEST_F(PlanFilesTest, ExportedDiveIsAppendedByImportWithItsBailoutState) {
  BuildPlan(group);
  ASSERT_TRUE(group.ExportDive(Path("dive.ccd"), 0));
  EXPECT_FALSE(group.ExportDive(Path("none.ccd"), 2));
  EXPECT_TRUE(env.prompt.shown.empty()) << "a bad index is refused silently";

  CPlanGroup other;
  test::CRecordingSink s;
  other.SetSink(&s);
  other.AddDivePlan();
  other.DeliverNotifications();
  s.received.clear();
  ASSERT_TRUE(other.ImportDive(Path("dive.ccd")));
  ASSERT_EQ(other.GetDiveCount(), 3);
  const CDivePlan& d = *other.GetDive(2);
  EXPECT_EQ(d.GetName(), "Wreck, deep part");
  EXPECT_EQ(d.Bailout().time, 1234);
  EXPECT_EQ(d.BailoutPlanPoints().size(), 2u);
  EXPECT_EQ(d.GetDiveNumber(), 2);
  other.DeliverNotifications();
  EXPECT_EQ(s.received.back(), test::Loaded(2));
}

TEST_F(PlanFilesTest, WrongFirstLinesAreRefusedWithTheirMessages) {
  test::CTestLog log(env);
  test::WriteFile(Path("dive.ccd"), kDefaultDiveSection);
  test::WriteFile(Path("plan.ccp"), std::string("Dive Plan\r\n") + kDefaultDiveSection);
  test::WriteFile(Path("blank.ccp"), std::string("\r\nDive Plan\r\n") + kDefaultDiveSection);

  EXPECT_FALSE(group.LoadPlanGroup(Path("dive.ccd")));
  EXPECT_FALSE(group.LoadPlanGroup(Path("blank.ccp")));
  EXPECT_FALSE(group.ImportDive(Path("plan.ccp")));
  ASSERT_EQ(env.prompt.shown.size(), 3u);
  // Each message keeps its text and adds the file and why.
  EXPECT_EQ(env.prompt.shown[0].text,
            "Invalid Dive Plan file\n\n" + Path("dive.ccd") + "\nline 1: the first line is \"Dive\", not \"Dive Plan\"");
  EXPECT_EQ(env.prompt.shown[0].icon, EIcon::Exclamation);
  EXPECT_EQ(env.prompt.shown[1].text.rfind("Invalid Dive Plan file\n\n" + Path("blank.ccp") + "\nline 1: ", 0), 0u);
  EXPECT_EQ(env.prompt.shown[2].text.rfind("Invalid Dive file\n\n" + Path("plan.ccp") + "\nline 1: ", 0), 0u);
  EXPECT_TRUE(log.Has("Invalid dive plan file " + Path("dive.ccd")));
  EXPECT_TRUE(log.Has("CPlanGroup::LoadPlanGroup() Invalid file contents - m_loadInProgress set False"));
  EXPECT_TRUE(log.Has("CPlanGroup::ImportDive() Invalid file contents - m_loadInProgress set False"));
  EXPECT_FALSE(group.IsLoadInProgress());
  EXPECT_EQ(group.GetDiveCount(), 1) << "a failed load leaves the reset plan";
  EXPECT_EQ(group.GetFilePath(), "");
}

TEST_F(PlanFilesTest, MissingFilesAreReportedAndLogged) {
  test::CTestLog log(env);
  BuildPlan(group);
  EXPECT_FALSE(group.LoadPlanGroup(Path("nothing.ccp")));
  EXPECT_EQ(group.GetDiveCount(), 1) << "the load reset the plan before opening";
  EXPECT_FALSE(group.ImportDive(Path("nothing.ccd")));
  EXPECT_FALSE(group.LoadPlanGroup(dir)) << "a folder is not a plan file";
  ASSERT_EQ(env.prompt.shown.size(), 3u);
  EXPECT_EQ(env.prompt.shown[0].text, "Unable to open data file.\n\n" + Path("nothing.ccp") + "\nno such file");
  EXPECT_EQ(env.prompt.shown[2].text, "Unable to open data file.\n\n" + dir + "\nit is a folder");
  EXPECT_TRUE(log.Has("Unable to open data file " + Path("nothing.ccp")));
  EXPECT_TRUE(log.Has("CPlanGroup::LoadPlanGroup() Unable to open file - m_loadInProgress set False"));
  EXPECT_TRUE(log.Has("CPlanGroup::ImportDive() Unable to open file - m_loadInProgress set False"));
  EXPECT_FALSE(group.IsLoadInProgress());
}

TEST_F(PlanFilesTest, ReaderFollowsTheLineRules) {
  // LF line ends, blank lines, keys without leading zeros, a name cut at "~",
  // point lines of 8 fields, unknown keys and plan keys after a dive.
  const std::string text =
      "Dive Plan\n\n2~0\n20~ignored before any dive\nDive\n\n020~Reef~North\n"
      "100~60~1000.00~0~21.00~0.00~0.70~0\n"     // 8 fields
      "110~60~1000.00~0~21.00~0.00~0.70~1\n"     // 8 fields: bailout flag 0
      "110~60~1000.00~0~21.00~0.00~0.70~0~1\n"  // 9 fields
      "110~60~1000.00~0~21.00~0.00~0.70~0~1.0\n"
      "999~whatever\n4~12.5\n";
  test::WriteFile(Path("rules.ccp"), text);
  ASSERT_TRUE(group.LoadPlanGroup(Path("rules.ccp")));
  const CDivePlan& d = *group.GetDive(0);
  EXPECT_EQ(group.GetAlgorithm(), 0);
  EXPECT_DOUBLE_EQ(group.GetGasReserve(), 12.5);
  EXPECT_EQ(d.GetName(), "Reef");
  EXPECT_EQ(d.UserPoints().size(), 1u);
  ASSERT_EQ(d.BailoutPlanPoints().size(), 3u);
  EXPECT_EQ(d.BailoutPlanPoints()[0].m_bailout, 0);
  EXPECT_EQ(d.BailoutPlanPoints()[0].m_noClearSurface, 1);
  EXPECT_EQ(d.BailoutPlanPoints()[1].m_bailout, 1);
  EXPECT_EQ(d.BailoutPlanPoints()[2].m_bailout, 1);
}

TEST_F(PlanFilesTest, ThirtyOneDivesAreRefusedWithTheirCount) {
  std::string text = "Dive Plan\r\n";
  for (int i = 0; i < 30; ++i) text += "Dive\r\n020~ok\r\n";
  test::WriteFile(Path("thirty.ccp"), text);
  ASSERT_TRUE(group.LoadPlanGroup(Path("thirty.ccp")));
  EXPECT_EQ(group.GetDiveCount(), 30);
  EXPECT_FALSE(group.ImportDive(Path("thirty.ccp"))) << "not a dive file";
  test::WriteFile(Path("d.ccd"), kDefaultDiveSection);
  EXPECT_FALSE(group.ImportDive(Path("d.ccd"))) << "the plan is full";
  EXPECT_EQ(env.prompt.shown.back().text, "The plan already holds 30 dives, the most a plan can hold.\n\nThe dive "
                                          "was not imported.\n\n" + Path("d.ccd"));
  EXPECT_EQ(group.GetDiveCount(), 30);
  EXPECT_FALSE(group.IsLoadInProgress());

  // Loading the first 30 would let a save drop the rest from the file: the
  // whole file is refused, and the message says how many dives it holds.
  test::WriteFile(Path("over.ccp"), text + "Dive\r\n020~extra\r\nDive\r\n");
  EXPECT_FALSE(group.LoadPlanGroup(Path("over.ccp")));
  EXPECT_EQ(group.GetDiveCount(), 1) << "the reset plan";
  EXPECT_EQ(env.prompt.shown.back().text, "Invalid Dive Plan file\n\n" + Path("over.ccp") +
                                              "\nline 62: the file holds 32 dives; the program takes at most 30, so "
                                              "nothing was loaded");
  EXPECT_FALSE(group.IsLoadInProgress());
}

TEST_F(PlanFilesTest, LoadingDoesNotCalculateHalfReadDives) {
  BuildPlan(group);
  ASSERT_TRUE(group.SavePlanGroup(Path("plan.ccp")));
  CPlanGroup loaded;
  loaded.SetAutoRecalc(true);
  ASSERT_TRUE(loaded.LoadPlanGroup(Path("plan.ccp")));
  EXPECT_EQ(loaded.GetDive(0)->PredictionCount(), 0);
  EXPECT_EQ(loaded.GetDive(1)->PredictionCount(), 0);
  EXPECT_TRUE(loaded.IsRecalculationRequired());
  ASSERT_TRUE(loaded.CalculateDivePlans(true, 0, false));
  EXPECT_TRUE(loaded.GetDive(1)->IsCalculationCompleted());
}

// ---- Saving is atomic ----------------------------------------------------------------

TEST_F(PlanFilesTest, FailedSaveKeepsTheOldFileAndSaysSo) {
  const std::string path = Path("plan.ccp");
  ASSERT_TRUE(group.SavePlanGroup(path));
  const std::string before = ReadFile(path);
  test::CFailingFileStore store;
  store.failWrites = true;
  SetFileStore(&store);
  BuildPlan(group);
  EXPECT_FALSE(group.SavePlanGroup(path));
  EXPECT_FALSE(group.ExportDive(Path("d.ccd"), 0));
  SetFileStore(nullptr);
  EXPECT_EQ(ReadFile(path), before);
  EXPECT_TRUE(group.IsModified()) << "a failed save does not clear the modified state";
  ASSERT_EQ(env.prompt.shown.size(), 2u);
  EXPECT_EQ(env.prompt.shown[0].text.rfind("Unable to open data file for writing.\n\n" + path + "\n", 0), 0u);
  EXPECT_EQ(env.prompt.shown[0].icon, EIcon::Exclamation);
}

TEST_F(PlanFilesTest, SavingOverAFolderFailsAndLeavesItAlone) {
  const std::string folder = Path("plans");
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  test::WriteFile(folder + "/inside.txt", "keep");
  EXPECT_FALSE(group.SavePlanGroup(folder));
  EXPECT_EQ(ReadFile(folder + "/inside.txt"), "keep");
  EXPECT_EQ(env.prompt.shown.size(), 1u);
  struct stat st;
  ASSERT_EQ(::stat(folder.c_str(), &st), 0);
  EXPECT_TRUE(S_ISDIR(st.st_mode));
}

TEST_F(PlanFilesTest, SavingIntoAReadOnlyFolderFails) {
  const std::string folder = Path("locked");
  ASSERT_EQ(::mkdir(folder.c_str(), 0755), 0);
  const std::string path = folder + "/plan.ccp";
  ASSERT_TRUE(group.SavePlanGroup(path));
  const std::string before = ReadFile(path);
  ASSERT_EQ(::chmod(folder.c_str(), 0555), 0);
  if (::access(folder.c_str(), W_OK) == 0) {
    ::chmod(folder.c_str(), 0755);
    GTEST_SKIP() << "permissions do not bind this user (root)";
  }
  BuildPlan(group);
  EXPECT_FALSE(group.SavePlanGroup(path));
  ::chmod(folder.c_str(), 0755);
  EXPECT_EQ(ReadFile(path), before);
}

TEST_F(PlanFilesTest, SavingWhereNoFileCanBeCreatedFails) {
  // Holds for every user, root included: /proc takes no new files.
  EXPECT_FALSE(group.SavePlanGroup("/proc/kv-test-plan.ccp"));
  EXPECT_FALSE(group.SavePlanGroup(Path("no/such/folder/plan.ccp")));
  EXPECT_EQ(env.prompt.shown.size(), 2u);
}

TEST_F(PlanFilesTest, SaveLeavesNoTemporaryFilesAndKeepsPermissions) {
  const std::string path = Path("plan.ccp");
  ASSERT_TRUE(group.SavePlanGroup(path));
  ASSERT_EQ(::chmod(path.c_str(), 0640), 0);
  BuildPlan(group);
  ASSERT_TRUE(group.SavePlanGroup(path));
  struct stat st;
  ASSERT_EQ(::stat(path.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir)) names.push_back(entry.path().filename());
  EXPECT_EQ(names, std::vector<std::string>{"plan.ccp"});
}

}  // namespace
}  // namespace kv
