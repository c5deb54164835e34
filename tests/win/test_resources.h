#pragma once

#define IDD_TEST_CLASSIC 500
#define IDD_TEST_EXTENDED_NO_FONT 501
#define IDC_TEST_BUTTON 1001
#define IDC_TEST_EDIT 1002
#define IDC_TEST_MISSING 1003  // no dialog has it
