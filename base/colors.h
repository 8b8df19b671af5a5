#pragma once
// Colours are 32-bit 0x00BBGGRR values.
#include <cstdint>

namespace telvara {

using TColor = std::uint32_t;

constexpr TColor clDefault = 0x20000000; // automatic colour
constexpr TColor clNone = 0x1FFFFFFF;    // no colour
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clOlive = 0x008080;
constexpr TColor clNavy = 0x800000;
constexpr TColor clPurple = 0x800080;
constexpr TColor clTeal = 0x808000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clLime = 0x00FF00;
constexpr TColor clYellow = 0x00FFFF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clFuchsia = 0xFF00FF;
constexpr TColor clAqua = 0xFFFF00;
constexpr TColor clWhite = 0xFFFFFF;
// System colours (top bit set) resolved by colorToRGB.
constexpr TColor clBtnFace = 0x8000000F;
constexpr TColor clBtnShadow = 0x80000010;
constexpr TColor clBtnHighlight = 0x80000014;

constexpr std::uint8_t redOf(TColor c) { return c & 0xFF; }
constexpr std::uint8_t greenOf(TColor c) { return (c >> 8) & 0xFF; }
constexpr std::uint8_t blueOf(TColor c) { return (c >> 16) & 0xFF; }
constexpr TColor rgb(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return TColor(r) | (TColor(g) << 8) | (TColor(b) << 16);
}

// System colours to RGB (button face 0xC0C0C0 light grey, shadow 0x808080,
// highlight white); plain colours unchanged.
constexpr TColor colorToRGB(TColor c) {
    switch (c) {
    case clBtnFace:
        return 0xC0C0C0;
    case clBtnShadow:
        return 0x808080;
    case clBtnHighlight:
        return 0xFFFFFF;
    default:
        return (c & 0x80000000u) ? 0xC0C0C0 : (c & 0x00FFFFFF);
    }
}

} // namespace telvara
