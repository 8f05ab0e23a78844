#pragma once
// What a table builder hands to an HTML writer: one table as ready-made HTML
// fragments, fields inside a line separated by "~" (so no field holds a "~").

#include <string>
#include <vector>

namespace kv {

struct DiveTableContent {
  // Six fields: depth, title, gradient factors, dive, CNS, OTU.
  std::string header;
  bool cnsAlert = false;  // the CNS text is shown in red
  bool otuAlert = false;  // the OTU text is shown in red
  // Element 0 holds the column headings, every further element one row.
  std::vector<std::string> rows;
  // Parallel to rows (element 0 false): the row is shown in red.
  std::vector<bool> rowAlerts;
  // Element 0 the heading ("Gas~Warnings"), then one line per gas warning
  // record: the gas, then one field per warning. Empty when the dive has none.
  std::vector<std::string> warnings;
  std::string footer;
};

}  // namespace kv
