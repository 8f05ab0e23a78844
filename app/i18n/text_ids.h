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

}  // namespace kv::app
