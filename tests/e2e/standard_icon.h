// Which standard icon (error, warning, information, question) a message
// box shows. Icon handles mean nothing outside their process, so the icon is
// recognised by its pixels on screen.
#pragma once

#include <windows.h>

#include <optional>
#include <ostream>

namespace e2e {

enum class StandardIcon { Error, Warning, Information, Question };

void PrintTo(StandardIcon icon, std::ostream* out);

// The standard icon whose drawing, on the control's own background, comes
// closest to what the icon control shows; nothing when the screen cannot be read.
std::optional<StandardIcon> StandardIconShownBy(HWND iconControl);

}  // namespace e2e
