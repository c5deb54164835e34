#include "app/message_text.h"

std::wstring FormatWithArgument(std::wstring_view pattern, std::wstring_view argument) {
    std::wstring text(pattern);
    const std::size_t at = text.find(L"%s");
    if (at != std::wstring::npos) text.replace(at, 2, argument);
    return text;
}
