// The Windows unit tests start like the program does: through a wide entry
// point, so the runtime library's environment is the wide one.
#include <gtest/gtest.h>

int wmain(int argc, wchar_t** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
