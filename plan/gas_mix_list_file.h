#pragma once
// Gas mix list files (".ccg"): the bailout gas list text under key 060.

#include <string>

namespace kv {

// Writes "Gas Mix List" and the key 060 line; on failure shows "Unable to
// open data file for writing." and returns false.
bool SaveGasMixList(const std::string& path, const std::string& gasList);
// Reads the list text of the last key 060 line (empty when there is none).
// On failure shows the message, logs it, leaves gasList unchanged and, when
// asked, says why in error ("line 2: ...", "no such file").
bool LoadGasMixList(const std::string& path, std::string& gasList, std::string* error = nullptr);

}  // namespace kv
