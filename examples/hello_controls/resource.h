// Resource ids of Hello Controls.
#pragma once

#define IDD_HELLO 100
#define IDI_HELLO 101
#define IDC_HELLO_BUTTON 1001
#define IDC_HELLO_LINK 1002
#define IDC_HELLO_STATUS 1003
