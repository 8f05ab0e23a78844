#pragma once
// Text at the edge between the core (UTF-8 std::string) and Qt (QString), and
// the two ways a user-visible text is looked up: numbered texts of the string
// table, and the program's own menu and dialog texts, which a loaded language
// library may translate.

#include <QString>

#include <string>

namespace kv::app {

QString ToQt(const std::string& text);
QString ToQt(const char* text);
std::string FromQt(const QString& text);

// String-table text id as the core holds it (a language library may have
// replaced it); empty for an unknown id.
std::string LoadText(int id);
QString Str(int id);

// A menu, label or dialog text, translated when the loaded language library
// carries it.
QString Tr(const char* english);

// A file name shown to the user: the part after the last folder separator.
QString FileNameOf(const QString& path);

}  // namespace kv::app
