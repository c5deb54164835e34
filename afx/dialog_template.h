// CDialogTemplate: an editable copy of a dialog template (classic or
// extended layout), for revising a template before a dialog is made from it.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class CDialogTemplate {
public:
    CDialogTemplate() = default;

    // Copies the template. size is its length in bytes when known (a
    // resource's size); 0 trusts the template and measures it. False when
    // the template is malformed; the object then stays empty.
    bool Load(const DLGTEMPLATE* dialogTemplate, std::size_t size = 0);

    // Sets the font's face and its 16-bit size value as stored in the
    // template (0xFFF2 stays 0xFFF2). False for an empty object.
    bool SetFont(const std::wstring& face, std::uint16_t size);

    // The font the template names; false when it names none.
    bool GetFont(std::wstring& face, std::uint16_t& size) const;

    bool IsEmpty() const { return m_bytes.empty(); }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(m_bytes.data()); }
    // Hands the bytes over (the object becomes empty).
    std::vector<std::uint8_t> Detach() { return std::move(m_bytes); }

private:
    std::vector<std::uint8_t> m_bytes;
};
