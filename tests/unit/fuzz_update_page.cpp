// Any page text gives a date or nothing, never a crash or a read past the
// end; the bytes are widened as a page in an 8-bit code page would be.
#include <cstddef>
#include <cstdint>
#include <string>

#include "version/date_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring page;
    page.reserve(size);
    for (std::size_t i = 0; i < size; ++i) page.push_back(static_cast<wchar_t>(data[i]));
    (void)FindPublishedDate(page);
    return 0;
}
