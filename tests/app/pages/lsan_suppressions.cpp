// The font library the widgets draw text with keeps its configuration for the
// life of the process and never frees it; LeakSanitizer would report that at
// exit of every sanitized GUI test. Only that library's blocks are excused.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig\n"; }
