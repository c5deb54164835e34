// Whether the user has turned high contrast on. Controls that draw
// themselves give up their own colours, see-through faces and styled looks
// while it is on, and draw with the system's colours only, as the system's
// controls do. Every reading goes through AfxIsHighContrast, so a test can
// report the setting on (Wine cannot turn it on).
#pragma once

#include <windows.h>

// The system's answer to SPI_GETHIGHCONTRAST (HCF_HIGHCONTRASTON), asked
// at each call; off when the system does not answer. Or what the function
// set with AfxSetHighContrastSource answers.
bool AfxIsHighContrast();

using HighContrastSource = bool (*)();

// Replaces the reading for this process (null: the system's again) and
// returns the one it replaced.
HighContrastSource AfxSetHighContrastSource(HighContrastSource replacement);
