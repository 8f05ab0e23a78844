#pragma once
// The desktop program's edge between Qt texts and the core's UTF-8 texts, and
// its one way into the string table.

#include <QString>
#include <string>

namespace kv::app {

inline QString ToQString(const std::string& text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }
inline std::string ToUtf8(const QString& text) { return text.toUtf8().toStdString(); }

// String id of the table (a language library's text when one replaced it).
// The page tooltips that the core's table does not carry fall back to the
// program's own English texts, so that every control still explains itself.
QString UiString(int id);
// The text before the first "\n": the tooltip part of a command's string.
QString UiTooltip(int id);

}  // namespace kv::app
