#include "afx/high_contrast.h"

namespace {

bool SystemHighContrast() {
    HIGHCONTRASTW setting{};
    setting.cbSize = sizeof(setting);
    return ::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(setting), &setting, 0) != FALSE &&
           (setting.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

HighContrastSource g_highContrast = &SystemHighContrast;

}  // namespace

bool AfxIsHighContrast() { return g_highContrast(); }

HighContrastSource AfxSetHighContrastSource(HighContrastSource replacement) {
    const HighContrastSource previous = g_highContrast;
    g_highContrast = replacement != nullptr ? replacement : &SystemHighContrast;
    return previous;
}
