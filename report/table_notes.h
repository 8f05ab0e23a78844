#pragma once
// The notes the table viewer writes into the foot of every table of a
// document. A table's footer block runs from "<TFOOT" to the end of the next
// "/TFOOT>"; the notes are one row of it: "<b>Notes:</b><br>" and the text,
// HTML-escaped, lines joined by "<br>".

#include <optional>
#include <string>

namespace kv {

// The note of the first table's footer as it was typed (every "<br>" turned
// into "\r", entities into their characters); empty when it has none;
// nullopt when the document has no footer block.
std::optional<std::string> TableNotes(const std::string& document);

// The document with the notes row of every table set to notes (lines
// separated by "\r", or "\r\n"); empty notes remove the row. A document
// without a footer block comes back unchanged.
std::string WithTableNotes(const std::string& document, const std::string& notes);

}  // namespace kv
