#include "app/HexScramble.h"

#include "platform/EConvertError.h"

#include <chrono>
#include <random>

namespace pixolo
{

namespace
{

constexpr std::string_view kDefaultKey = "5E81C0F3A69D27B";
// HexScramble2's default key, scrambled with HexScramble and an empty key.
constexpr std::string_view kScrambledKey2 = "3DB817BA1FBE1B0B080D0A75A3C3075DF811";

int hexDigit(char c)
{
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

// The value of one or two hex digits; no digits, or any other character, is the conversion error for "$" + piece.
int hexValue(std::string_view piece)
{
    if (piece.empty()) {
        throw EConvertError::notAnInteger("$");
    }
    int value = 0;
    for (const char c : piece) {
        const int digit = hexDigit(c);
        if (digit < 0) {
            throw EConvertError::notAnInteger("$" + std::string(piece));
        }
        value = value * 16 + digit;
    }
    return value;
}

std::uint8_t randomSeed()
{
    static std::mt19937 generator(
        static_cast<std::mt19937::result_type>(std::chrono::high_resolution_clock::now().time_since_epoch().count())
        ^ std::random_device {}());
    return static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, 255)(generator));
}

void appendHex(std::string &out, int value)
{
    constexpr char digits[] = "0123456789ABCDEF";
    out += digits[(value >> 4) & 0xF];
    out += digits[value & 0xF];
}

std::string scramble(std::string_view text, bool encode, std::string_view key, std::string_view defaultKey)
{
    if (text.empty()) {
        return {};
    }
    // The key's length is taken before the default stands in for an empty key: with no key given, every byte uses
    // the default key's first byte.
    const std::size_t keyLength = key.size();
    if (keyLength == 0) {
        key = defaultKey;
    }
    std::size_t index = 0;
    auto nextKeyByte = [&]() -> int {
        index = index < keyLength ? index + 1 : 1;
        return index <= key.size() ? static_cast<unsigned char>(key[index - 1]) : 0;
    };

    std::string out;
    if (encode) {
        int a = randomSeed();
        out.reserve((text.size() + 1) * 2);
        appendHex(out, a);
        for (const char ch : text) {
            const int p = static_cast<unsigned char>(ch);
            a = ((a + p) % 255) ^ nextKeyByte();
            appendHex(out, a);
        }
        return out;
    }

    int a = hexValue(text.substr(0, 2));
    std::size_t pos = 2; // zero-based: the third digit
    // Runs at least once, so a text of only a seed fails on its missing first value. Every remaining digit is
    // decoded, a last single digit included.
    do {
        const int b = hexValue(pos < text.size() ? text.substr(pos, 2) : std::string_view());
        const int c = b ^ nextKeyByte();
        const int plain = a < c ? c - a : c + 255 - a;
        out += static_cast<char>(plain);
        a = b;
        pos += 2;
    } while (pos < text.size());
    return out;
}

} // namespace

std::string_view hexScrambleDefaultKey()
{
    return kDefaultKey;
}

std::string hexScramble2DefaultKey()
{
    return HexScramble(kScrambledKey2, false, {});
}

std::string HexScramble(std::string_view text, bool encode, std::string_view key)
{
    return scramble(text, encode, key, kDefaultKey);
}

std::string HexScramble2(std::string_view text, bool encode, std::string_view key)
{
    // Built afresh on every call that needs it, so the plain key never sits in memory longer than the call.
    return scramble(text, encode, key, key.empty() ? hexScramble2DefaultKey() : std::string());
}

} // namespace pixolo
