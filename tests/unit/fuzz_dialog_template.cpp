// Feeds arbitrary bytes to the dialog template reader and rewriter: they
// must never read outside the input, and a rewrite must always be readable.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "afx/dialog_template_data.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    const std::size_t length = afx::dlgtemplate::TemplateSize(bytes);
    const auto revised = afx::dlgtemplate::WithFont(bytes, u"Segoe UI", 0xFFF2);
    if (length == 0 != revised.empty()) std::abort();
    if (!revised.empty()) {
        const auto font = afx::dlgtemplate::ReadFont(revised);
        if (!font.present || font.face != u"Segoe UI" || font.size != 0xFFF2) std::abort();
        if (afx::dlgtemplate::TemplateSize(revised) != revised.size()) std::abort();
    }
    return 0;
}
