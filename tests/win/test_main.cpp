// The Windows unit tests run inside a program shaped like the utility: its
// application object (so commands a dialog leaves alone reach the
// application's handlers), a wide entry point, the framework initialised.
#include <gtest/gtest.h>

#include "afx/module_state.h"
#include "app/utility_app.h"

namespace {
CUtilityApp theApp;
}  // namespace

int wmain(int argc, wchar_t** argv) {
    AfxWinInit(::GetModuleHandleW(nullptr));
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
