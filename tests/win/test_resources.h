#pragma once

#define IDD_TEST_CLASSIC 500
#define IDD_TEST_EXTENDED_NO_FONT 501
#define IDD_TEST_SCALED 502
#define IDI_TEST_SCALED 503  // 32, 40, 48 and 64 px
#define IDC_TEST_LINK 1004
#define IDC_TEST_BUTTON 1001
#define IDC_TEST_EDIT 1002
#define IDC_TEST_MISSING 1003  // no dialog has it
