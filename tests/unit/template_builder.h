// Builds dialog template bytes for tests, in the classic or the extended
// layout, the way a resource compiler lays them out.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class TemplateBuilder {
public:
    explicit TemplateBuilder(bool extended) : extended_(extended) {}

    std::vector<std::uint8_t> Build(std::uint32_t style, const std::u16string& title, const std::u16string* face,
                                    std::uint16_t pointSize, int itemCount) const {
        std::vector<std::uint8_t> b;
        if (extended_) {
            Put16(b, 1);
            Put16(b, 0xFFFF);
            Put32(b, 0);           // help id
            Put32(b, 0x40000);     // extended style
            Put32(b, style);
        } else {
            Put32(b, style);
            Put32(b, 0x40000);
        }
        Put16(b, static_cast<std::uint16_t>(itemCount));
        for (int i = 0; i < 4; ++i) Put16(b, static_cast<std::uint16_t>(10 * i));
        Put16(b, 0xFFFF);  // menu by ordinal
        Put16(b, 145);
        Put16(b, 0);       // default class
        PutString(b, title);
        if (face != nullptr) {
            Put16(b, pointSize);
            if (extended_) {
                Put16(b, 700);  // weight
                b.push_back(1);  // italic
                b.push_back(0xEE);  // charset
            }
            PutString(b, *face);
        }
        for (int i = 0; i < itemCount; ++i) {
            while (b.size() % 4) b.push_back(0);
            if (extended_) {
                Put32(b, 0);
                Put32(b, 0);
                Put32(b, 0x50010000u);
            } else {
                Put32(b, 0x50010000u);
                Put32(b, 0);
            }
            for (int k = 0; k < 4; ++k) Put16(b, static_cast<std::uint16_t>(i + k));
            if (extended_) Put32(b, static_cast<std::uint32_t>(1000 + i)); else Put16(b, static_cast<std::uint16_t>(1000 + i));
            Put16(b, 0xFFFF);
            Put16(b, 0x0080);  // button
            PutString(b, i % 2 ? u"Help..." : u"OK");
            Put16(b, static_cast<std::uint16_t>(i % 3 == 2 ? 2 : 0));  // creation data bytes
            if (i % 3 == 2) Put16(b, 0xBEEF);
        }
        return b;
    }

    static void Put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
        b.push_back(static_cast<std::uint8_t>(v));
        b.push_back(static_cast<std::uint8_t>(v >> 8));
    }
    static void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
        Put16(b, static_cast<std::uint16_t>(v));
        Put16(b, static_cast<std::uint16_t>(v >> 16));
    }
    static void PutString(std::vector<std::uint8_t>& b, const std::u16string& s) {
        for (char16_t c : s) Put16(b, static_cast<std::uint16_t>(c));
        Put16(b, 0);
    }

private:
    bool extended_;
};
