// Fuzzes the text scrambler's decoders with arbitrary texts and keys: a text either decodes or raises the
// conversion error. A text of bytes 1 to 254 (0 and 255 share one scrambled value by the routine's design) comes
// back unchanged from encoding and decoding with either routine and any key.
#include "FuzzCheck.h"

#include "app/HexScramble.h"
#include "platform/EConvertError.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using namespace pixolo;
    FuzzedDataProvider input(data, size);
    const bool second = input.ConsumeBool();
    const std::string key = input.ConsumeRandomLengthString(16);
    const std::string text = input.ConsumeRemainingBytesAsString();
    const auto scramble = [second](std::string_view t, bool encode, std::string_view k) {
        return second ? HexScramble2(t, encode, k) : HexScramble(t, encode, k);
    };

    try {
        const std::string plain = scramble(text, false, key);
        FUZZ_REQUIRE(plain.size() <= text.size() / 2 + 1, "each decoded byte takes two digits");
    } catch (const EConvertError &) {
    }

    std::string plain = text;
    for (char &c : plain) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == 0 || byte == 255) {
            c = 1;
        }
    }
    const std::string scrambled = scramble(plain, true, key);
    FUZZ_REQUIRE(scrambled.size() == (plain.empty() ? 0 : plain.size() * 2 + 2), "a seed and two digits a byte");
    FUZZ_REQUIRE(scramble(scrambled, false, key) == plain, "decoding undoes encoding");
    return 0;
}
