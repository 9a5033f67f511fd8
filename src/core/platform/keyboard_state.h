#pragma once
#include <array>
#include <cstdint>

namespace kibiki {

// The 256-byte virtual-key state; index 0x15 is the kana lock.
using KeyStateArray = std::array<std::uint8_t, 256>;
constexpr int VK_KANA = 0x15;

class KeyboardState {
public:
    virtual ~KeyboardState() = default;
    virtual void GetKeyboardState(KeyStateArray& state) = 0;
    virtual void SetKeyboardState(const KeyStateArray& state) = 0;
};

}  // namespace kibiki
