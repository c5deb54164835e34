// The program's one application object, constructed before the framework's
// main function runs. Kept out of the app library so that tests can link
// the program's classes without it.
#include "app/utility_app.h"

namespace {
CUtilityApp theApp;
}  // namespace
