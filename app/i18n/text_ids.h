#pragma once
// The numbered texts of the string table that the desktop program shows, by
// name. A language library replaces them by number, so the numbers stay.

namespace kv::app {

// Column headings, list labels and chart readouts.
inline constexpr int kTextDepth = 1030;
inline constexpr int kTextEndTime = 1031;
inline constexpr int kTextInvalid = 1032;
inline constexpr int kTextGf = 1033;
inline constexpr int kTextEad = 1034;
inline constexpr int kTextPpo2 = 1047;
inline constexpr int kTextDepthMetres = 1048;
inline constexpr int kTextDepthFeet = 1049;
inline constexpr int kTextOpenCircuit = 1052;    // "OC"
inline constexpr int kTextClosedCircuit = 1053;  // "CC"
inline constexpr int kTextNoClearSurface = 1054;  // "NCS"
inline constexpr int kTextCeiling = 1055;
inline constexpr int kTextMaxCeiling = 1056;
inline constexpr int kTextInspiredNitrogen = 1057;
inline constexpr int kTextInspiredHelium = 1058;
inline constexpr int kTextTime = 1059;
inline constexpr int kTextCns = 1060;
inline constexpr int kTextOtu = 1061;
inline constexpr int kTextGradientFactor = 1062;
inline constexpr int kTextPigt = 1063;
inline constexpr int kTextMaxPigt = 1064;
inline constexpr int kTextDiluent = 1065;  // "Dil"
inline constexpr int kTextCompartment = 1066;
inline constexpr int kTextCylinderPressureBar = 1084;
inline constexpr int kTextCylinderPressurePsi = 1085;
inline constexpr int kTextListPpo2 = 1307;
inline constexpr int kTextListDepthMetres = 1308;
inline constexpr int kTextListDepthFeet = 1309;
inline constexpr int kTextSegmentTime = 1310;
inline constexpr int kTextRunTime = 1311;
inline constexpr int kTextDetailsDepth = 1324;

// Questions and messages.
inline constexpr int kTextSaveChangesQuestion = 1217;
inline constexpr int kTextDeleteDiveQuestion = 1251;  // "%s": the dive's tab text
inline constexpr int kTextInvalidGas = 1263;

// Tool tips.
inline constexpr int kTipGasEntryStyles = 2107;
inline constexpr int kTipPointList = 2108;
inline constexpr int kTipSettingsTabs = 2109;
inline constexpr int kTipWarningsList = 2110;
inline constexpr int kTipSegmentsList = 2111;
inline constexpr int kTipProfileChart = 2118;
inline constexpr int kTipTissueChart = 2620;
inline constexpr int kTipSurfaceInterval = 2706;
inline constexpr int kTipUseBailoutGasList = 2760;
inline constexpr int kTipIgnoreIcd = 2761;
inline constexpr int kTipIgnoreCns = 2762;
inline constexpr int kTipBailoutGasEntry = 2800;
inline constexpr int kTipBailoutGasList = 2816;
// Runs of consecutive tool tips, one for each control in order.
inline constexpr int kTipsEntryButtons = 2000;      // Add, Insert, Update, Delete of the dive page
inline constexpr int kTipsGasSwitchButtons = 2020;  // Add, Update, Delete, Cancel of the gas switch editor
inline constexpr int kTipsGasListButtons = 2065;    // Add, Delete, Load, Save of the bailout gas list
inline constexpr int kTipsEntryFields = 2100;       // depth, duration, CC, OC, setpoint, PPO2, NCS

// The tool tips of the dive and bailout settings fields.
inline constexpr int kTipSurfacePressure = 2700;
inline constexpr int kTipGfLow = 2701;
inline constexpr int kTipGfHigh = 2702;
inline constexpr int kTipSacRate = 2703;
inline constexpr int kTipMaxPpo2 = 2704;
inline constexpr int kTipMaxEad = 2705;
inline constexpr int kTipDescentRate = 2707;
inline constexpr int kTipAscentRate = 2708;
inline constexpr int kTipLastDecoStop = 2709;
inline constexpr int kTipBailoutNoOfGasSwitches = 2750;
inline constexpr int kTipBailoutGfLow = 2751;
inline constexpr int kTipBailoutGfHigh = 2752;
inline constexpr int kTipBailoutSacRate = 2753;
inline constexpr int kTipBailoutMaxPpo2 = 2754;
inline constexpr int kTipBailoutMaxEad = 2755;
inline constexpr int kTipBailoutMaxCns = 2756;
inline constexpr int kTipBailoutDescentRate = 2757;
inline constexpr int kTipBailoutAscentRate = 2758;
inline constexpr int kTipBailoutLastDecoStop = 2759;

}  // namespace kv::app
