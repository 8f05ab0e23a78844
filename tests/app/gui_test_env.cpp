// Linked into every GUI test program: before anything else runs, the program
// is sent offscreen and given configuration, data, cache and runtime folders
// of its own in the build folder, so no test reads or writes the user's
// settings, whether CTest or a developer starts it. QT_QPA_PLATFORM set by
// hand (xcb, to watch a test) is kept.

#include <sys/stat.h>

#include <cstdlib>
#include <string>

namespace {

struct SGuiTestFolders {
  SGuiTestFolders() {
    const std::string home = KV_GUI_TEST_HOME;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ::setenv("HOME", home.c_str(), 1);
    for (const char* name : {"config", "data", "cache", "runtime"}) {
      const std::string folder = home + "/" + name;
      ::mkdir(home.c_str(), 0700);
      ::mkdir(folder.c_str(), 0700);
    }
    ::setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
    ::setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
    ::setenv("XDG_RUNTIME_DIR", (home + "/runtime").c_str(), 1);
  }
};
const SGuiTestFolders g_folders;

}  // namespace

// Qt, GLib and the font libraries keep some allocations until the process
// ends; LeakSanitizer would report them at exit.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\nleak:libQt6Core.so\nleak:libQt6Gui.so\nleak:libQt6Widgets.so\n"
         "leak:libglib-2.0.so\nleak:libgobject-2.0.so\n";
}
