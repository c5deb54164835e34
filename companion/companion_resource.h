// Resource identifiers of the companion dialog library.
#pragma once

#define IDD_QLDX_SPLASH_MESSAGE 200
#define IDD_QLDX_PROGRESS 201
#define IDC_QLDX_ICON 1001
#define IDC_QLDX_MESSAGE 1002
#define IDC_QLDX_PROGRESS_BAR 1003
