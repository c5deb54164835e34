#include "afx/dialog_template.h"

#include "afx/dialog_template_data.h"

namespace {

// Templates are small; this only bounds the measuring walk over a template
// whose length the caller does not know.
constexpr std::size_t kUnknownSizeBound = 1u << 20;

}  // namespace

bool CDialogTemplate::Load(const DLGTEMPLATE* dialogTemplate, std::size_t size) {
    m_bytes.clear();
    if (dialogTemplate == nullptr) return false;
    const auto* first = reinterpret_cast<const std::uint8_t*>(dialogTemplate);
    const std::size_t measured = afx::dlgtemplate::TemplateSize({first, size != 0 ? size : kUnknownSizeBound});
    if (measured == 0) return false;
    m_bytes.assign(first, first + measured);
    return true;
}

bool CDialogTemplate::SetFont(const std::wstring& face, std::uint16_t size) {
    if (m_bytes.empty()) return false;
    const std::u16string face16(face.begin(), face.end());
    std::vector<std::uint8_t> revised = afx::dlgtemplate::WithFont(m_bytes, face16, size);
    if (revised.empty()) return false;
    m_bytes = std::move(revised);
    return true;
}

bool CDialogTemplate::GetFont(std::wstring& face, std::uint16_t& size) const {
    const afx::dlgtemplate::FontInfo font = afx::dlgtemplate::ReadFont(m_bytes);
    if (!font.present) return false;
    face.assign(font.face.begin(), font.face.end());
    size = font.size;
    return true;
}
