// Version texts for display. Portable.
#pragma once

#include <string>

// Turns the comma-separated form resource compilers write ("23, 22, 8, 1")
// into the dotted one and drops trailing zero parts, keeping at least one
// dot: 2023.0.0.0 -> 2023.0, 1.2.3.0 -> 1.2.3. A text with commas but no
// ", " is left as it is, and a text without any dot is never given ".0".
void TidyVersionString(std::wstring& text);

// The About box's text block: "<description> Version <version>\n\nVELKOR 2D
// Version <product version><update suffix>\n\n<copyright>". A product
// version that is empty reads "2023"; the update suffix is
// "    Update <level>" or nothing when the level is empty.
std::wstring ComposeAboutText(const std::wstring& description, const std::wstring& fileVersion,
                              std::wstring productVersion, const std::wstring& updateLevel,
                              const std::wstring& copyright);
