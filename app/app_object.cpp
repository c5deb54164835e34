// The program's one application object, constructed before the framework's
// main function runs. Kept out of the app library so that tests can link
// the program's classes without it.
#include "afx/system_library.h"
#include "app/utility_app.h"

namespace {
// The program runs elevated: before anything loads a library, later loads
// look in the system folder only (afx/system_library.h). The executable
// imports nothing else, so nothing of a folder a user can write to has run.
[[maybe_unused]] const bool dllSearchRestricted = afx::RestrictDllSearchToSystemFolder();
CUtilityApp theApp;
}  // namespace
