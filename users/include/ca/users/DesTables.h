#pragma once
// The tables of the block cipher that guards stored passwords. The cipher is DES; the tables the
// stored passwords were made with differ from the standard ones in a few S-box entries and in one
// bit of the last round's subkey. Both sets are kept so that the same code can be checked against
// standard DES and then run with the tables the passwords need.
#include <array>
#include <cstdint>

namespace ca::users {

class DesTables {
public:
    // S[box][row][column]: eight S-boxes of 4 rows and 16 columns, values 0 to 15.
    using SBoxes = std::array<std::array<std::array<std::uint8_t, 16>, 4>, 8>;

    // The tables of standard DES.
    static const DesTables& Standard();
    // The tables every stored password depends on.
    static const DesTables& Passwords();

    const SBoxes& sboxes() const { return sboxes_; }
    // Bit of C16D16 (1 to 56) that becomes the last bit of the round-16 subkey; PC-2 takes bit 32.
    int round16LastBit() const { return round16LastBit_; }

private:
    DesTables(const SBoxes& sboxes, int round16LastBit) : sboxes_(sboxes), round16LastBit_(round16LastBit) {}
    SBoxes sboxes_;
    int round16LastBit_;
};

}  // namespace ca::users
