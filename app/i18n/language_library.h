#pragma once
// What a language library exports. A language library is a shared library in
// the program's folder (".so", ".dll" on Windows) with three C functions:
//   GetLanguage      the 16-bit language identifier it provides (1031 German)
//   GetLanguageStr   the language's name in that language ("Deutsch")
//   GetLanguageTexts its texts: string-table texts by number, and the program's
//                    menu and dialog texts by their English wording
// A library without the first two is no language library; without the third
// it changes no text.

extern "C" {

struct SKvLanguageText {
  int id;               // string-table number, or 0 for a menu or dialog text
  const char* english;  // the English text (menu and dialog texts); may be null for numbered texts
  const char* text;     // the text in the library's language, UTF-8
};

typedef unsigned short (*KvGetLanguageFn)();
typedef const char* (*KvGetLanguageStrFn)();
typedef const SKvLanguageText* (*KvGetLanguageTextsFn)(int* count);
}
