// Any stored date text gives six numbers or nothing; building a time from
// them either succeeds or raises one of the two status errors.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "afx/exception.h"
#include "version/calendar_time.h"
#include "version/date_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) text.push_back(static_cast<wchar_t>(data[i] | (data[i + 1] << 8)));
    const auto numbers = ParseStoredDate(text);
    if (!numbers) return 0;
    try {
        (void)MakeLocalTime((*numbers)[0], (*numbers)[1], (*numbers)[2], (*numbers)[3], (*numbers)[4], (*numbers)[5]);
    } catch (const COleException& e) {
        if (e.Status() != kStatusUnspecifiedFailure && e.Status() != kStatusInvalidArgument) std::abort();
    }
    return 0;
}
