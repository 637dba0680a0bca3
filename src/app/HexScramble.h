#pragma once

#include <string>
#include <string_view>

namespace pixolo
{

// The text scrambler that keeps the product's own texts out of the binary as plain text.
//
// A scrambled text is hexadecimal digits, two per value: a random seed first, then one value per byte of the plain
// text. Each value chains on the one before it and is mixed with a byte of the key. Encoding writes upper-case
// digits; decoding accepts either case and throws EConvertError for a pair that is not hexadecimal.
//
// With an empty key every byte is mixed with the first byte of the routine's default key; with a key of length L
// the key's bytes are used in turn, 1, 2, …, L, 1, 2, … . Texts are byte strings (UTF-8 for our own texts).
std::string HexScramble(std::string_view text, bool encode, std::string_view key);

// As HexScramble, with its own default key (itself stored scrambled and decoded on every call with an empty key).
std::string HexScramble2(std::string_view text, bool encode, std::string_view key);

// The default keys, for the tool and the tests.
std::string_view hexScrambleDefaultKey();
std::string hexScramble2DefaultKey();

} // namespace pixolo
