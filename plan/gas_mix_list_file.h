#pragma once
// Gas mix list files (".ccg"): a bailout gas list under key 060, its text
// as CGasMixList writes and reads it.

#include <string>

#include "gas/gas_mix_list.h"

namespace kv {

// Writes "Gas Mix List" and the key 060 line; on failure shows "Unable to
// open data file for writing." and returns false.
bool SaveGasMixList(const std::string& path, const CGasMixList& gasList);
// Reads the list of the last key 060 line (empty when there is none).
// On failure shows the message, logs it, leaves gasList unchanged and, when
// asked, says why in error ("line 2: ...", "no such file").
bool LoadGasMixList(const std::string& path, CGasMixList& gasList, std::string* error = nullptr);

}  // namespace kv
