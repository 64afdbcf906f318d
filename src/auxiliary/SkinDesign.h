#pragma once

#include <cstdint>
#include <string>

namespace tarvolin {

enum class SkinFinish { Flat, Gradient };

// What sets one skin apart: four colours (0xRRGGBB) and the shape of its controls. Everything else
// in a skin is worked out from these.
struct SkinDesign {
    const char* name;
    std::uint32_t base;     // window and dialog background
    std::uint32_t surface;  // fields, lists and menus
    std::uint32_t accent;   // selection, focus, pressed buttons
    std::uint32_t text;
    int radius;  // corner radius in pixels
    int border;  // frame width in pixels
    SkinFinish finish;
};

// The design of skin n (1..kSkinCount); null outside that range.
const SkinDesign* SkinDesignOf(int n);

// The style sheet a design gives.
std::string RenderSkin(const SkinDesign& design);

}  // namespace tarvolin
