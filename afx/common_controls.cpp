#include "afx/common_controls.h"

#include <commctrl.h>

#include "afx/system_library.h"

namespace {

constinit const afx::SystemFunction<decltype(&::InitCommonControlsEx)> kInitCommonControlsEx{L"comctl32.dll",
                                                                                             "InitCommonControlsEx"};

}  // namespace

bool AfxInitCommonControls(DWORD classes) {
    const INITCOMMONCONTROLSEX wanted{sizeof(wanted), classes};
    const auto initialise = kInitCommonControlsEx.get();
    return initialise != nullptr && initialise(&wanted) != FALSE;
}
