#pragma once
// The program's version, shown in the About box, written to the status log and
// printed under every table. Keep it in step with the project version in the
// top-level CMakeLists.txt.

namespace kv {

inline constexpr const char* kProgramVersion = "0.1.0";

}  // namespace kv
