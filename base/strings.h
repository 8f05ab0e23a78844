#pragma once
// The numbered texts shown to the user, kept in one table so that a language
// library can replace them.

#include <string>

namespace kv {

// The text of string id, or an empty text for an unknown id. The text stays
// valid for the rest of the run, also after a later OverrideString of the id
// (which changes what the next call returns); safe from several threads.
const char* LoadString(int id);
// Replaces one text (a language library's); an empty text restores the built-in
// one. A replacement whose printf conversions differ from the built-in text's
// is refused (false), since the program passes the built-in text's arguments.
bool OverrideString(int id, const std::string& text);

// Numbers of the texts that more than one place uses.
inline constexpr int kMsgDepthExists = 1204;            // "Depth already exists. ..."
inline constexpr int kMsgUnableToOpenDataFile = 1228;   // "Unable to open data file."
inline constexpr int kMsgUnableToWriteDataFile = 1240;  // "Unable to open data file for writing."
inline constexpr int kMsgWarning = 1252;                // "Warning"
inline constexpr int kMsgFail = 1253;                   // "Fail"
inline constexpr int kMsgDiveOfDives = 1300;            // "Dive %d of %d"
inline constexpr int kMsgCnsFinal = 1302;               // "CNS Final %0.1f%%"
inline constexpr int kMsgOtuFinal = 1303;               // "OTU Final %0.1f%%"
inline constexpr int kMsgGasHeading = 1306;             // "Gas"
inline constexpr int kMsgWarningsHeading = 1320;        // "Warnings"
inline constexpr int kMsgNoClearSurface = 1322;         // "NCS"
// The lost-gas tables: the title of a variant, why one cannot be completed,
// and the 6-hour question for the variants of a dive.
inline constexpr int kMsgLostGasTitle = 1360;           // "If %s is lost"
inline constexpr int kMsgLostGasNotCompleted = 1361;    // "Cannot be completed on the remaining gases"
inline constexpr int kMsgLostGasSixHours = 1362;        // "The decompression does not end within 6 hours."
inline constexpr int kMsgLostGasDayLimit = 1363;        // "... within the 24-hour planning limit."
inline constexpr int kMsgLostGasQuestion = 1364;        // "Dive %d cannot decompress within 6 hours ..."
inline constexpr int kMsgSixHourTableQuestionCc = 1207;  // the 6-hour question of a closed-circuit table run
inline constexpr int kMsgSixHourTableQuestionOc = 1208;  // ... of an open-circuit one
inline constexpr int kMsgSurfacePointHypoxic = 1265;     // "The first point at %0.0f %s needs a point at the surface ..."
inline constexpr int kMsgCreatedNoName = 1316;           // 1313 without "by" and a name
inline constexpr int kMsgPlanFull = 1624;                // "The plan already holds %d dives, ..."

// Texts the calculation shows that have no number of their own.
inline constexpr const char* kSixHourQuestion =
    "Unable to decompress Dive %d within 6 hours.\n\nExtreme gas and multiple scrubber\u00A0requirements "
    "beyond this time.\n\nDo you wish to plan for extended decompression up to 24 Hours?\n\n(If you "
    "select 'No' the current profile will be removed.)";
inline constexpr const char* kTwentyFourHourLimit =
    "Unable to complete the plan.\n\nExceeded the 24 Hour time limitation.\n\n(The current profile "
    "will be removed.)";

}  // namespace kv
