#include "app/HexScramble.h"
#include "app/ProductTexts.h"
#include "platform/EConvertError.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>

using namespace pixolo;

namespace
{

// Encodes with a fixed seed, straight from the scheme's definition, to have an independent reference.
std::string referenceEncode(int seed, std::string_view text, std::string_view key)
{
    char buffer[3];
    std::string out;
    std::snprintf(buffer, sizeof buffer, "%02X", seed);
    out += buffer;
    int a = seed;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int k = static_cast<unsigned char>(key[i % key.size()]);
        a = ((a + static_cast<unsigned char>(text[i])) % 255) ^ k;
        std::snprintf(buffer, sizeof buffer, "%02X", a);
        out += buffer;
    }
    return out;
}

std::string expectConvertError(std::string_view text, std::string_view key = {})
{
    try {
        HexScramble2(text, false, key);
    } catch (const EConvertError &error) {
        return error.what();
    }
    return "no error";
}

} // namespace

TEST(HexScrambleTest, EmptyTextStaysEmptyBothWays)
{
    EXPECT_EQ(HexScramble("", true, ""), "");
    EXPECT_EQ(HexScramble("", false, ""), "");
    EXPECT_EQ(HexScramble2("", true, "key"), "");
    EXPECT_EQ(HexScramble2("", false, "key"), "");
}

TEST(HexScrambleTest, EncodingIsUpperCaseHexOfSeedPlusOneValuePerByte)
{
    const std::string plain = "快拍宝 Pixolo";
    const std::string encoded = HexScramble2(plain, true, "");
    EXPECT_EQ(encoded.size(), 2 * (plain.size() + 1));
    EXPECT_TRUE(std::regex_match(encoded, std::regex("[0-9A-F]+")));
}

TEST(HexScrambleTest, SameTextEncodesDifferentlyButAlwaysDecodesBack)
{
    const std::string plain = "照片存储路径: /home/用户/Photos";
    std::set<std::string> outputs;
    for (int i = 0; i < 8; ++i) {
        const std::string encoded = HexScramble2(plain, true, "");
        outputs.insert(encoded);
        EXPECT_EQ(HexScramble2(encoded, false, ""), plain);
    }
    EXPECT_GT(outputs.size(), 1u); // eight equal seeds in a row would be one chance in 2^56
}

TEST(HexScrambleTest, KeyBytesAreUsedInTurnAndDecodingAcceptsLowerCase)
{
    const std::string key = "AbC";
    const std::string reference = referenceEncode(0x5A, "hello world", key);
    EXPECT_EQ(HexScramble(reference, false, key), "hello world");
    std::string lower = reference;
    for (char &c : lower) {
        c = char(std::tolower(static_cast<unsigned char>(c)));
    }
    EXPECT_EQ(HexScramble(lower, false, key), "hello world");
    // Round trip with a key, through both routines.
    EXPECT_EQ(HexScramble(HexScramble("版本 1.0", true, key), false, key), "版本 1.0");
    EXPECT_EQ(HexScramble2(HexScramble2("版本 1.0", true, key), false, key), "版本 1.0");
}

TEST(HexScrambleTest, EmptyKeyUsesOnlyTheDefaultKeysFirstByte)
{
    // With no key, every byte is mixed with the default key's first byte: a one-byte key of that byte.
    const std::string first(1, hexScrambleDefaultKey().front());
    const std::string encoded = referenceEncode(0x11, "abcdef", first);
    EXPECT_EQ(HexScramble(encoded, false, ""), "abcdef");
    // Passing the whole default key explicitly uses all its bytes and so decodes differently.
    EXPECT_NE(HexScramble(encoded, false, hexScrambleDefaultKey()), "abcdef");

    const std::string key2 = hexScramble2DefaultKey();
    ASSERT_EQ(key2.size(), 17u);
    const std::string encoded2 = HexScramble2("two or more bytes", true, "");
    EXPECT_EQ(HexScramble2(encoded2, false, ""), "two or more bytes");
    EXPECT_NE(HexScramble2(encoded2, false, key2), "two or more bytes");
}

TEST(HexScrambleTest, SecondRoutineDiffersFromFirstOnlyByItsDefaultKey)
{
    const std::string encoded = HexScramble("same", true, "k3y");
    EXPECT_EQ(HexScramble2(encoded, false, "k3y"), "same");
    const std::string withDefault = HexScramble2("same", true, "");
    EXPECT_NE(HexScramble(withDefault, false, ""), "same");
}

TEST(HexScrambleTest, OddLengthDecodesItsLastSingleDigit)
{
    // Seed 0x10, then one value 0x15, then a lone digit "3": values 0x15 and 0x3.
    const int k = static_cast<unsigned char>(hexScramble2DefaultKey().front());
    const int c1 = 0x15 ^ k;
    const int p1 = 0x10 < c1 ? c1 - 0x10 : c1 + 255 - 0x10;
    const int c2 = 0x3 ^ k;
    const int p2 = 0x15 < c2 ? c2 - 0x15 : c2 + 255 - 0x15;
    const std::string decoded = HexScramble2("10153", false, "");
    ASSERT_EQ(decoded.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(decoded[0]), p1);
    EXPECT_EQ(static_cast<unsigned char>(decoded[1]), p2);
    EXPECT_EQ(HexScramble2("101", false, "").size(), 1u);
}

TEST(HexScrambleTest, PlainZeroComesBackAs255)
{
    const std::string key = "K";
    const std::string encoded = referenceEncode(0x40, std::string("\x01\x00\x02", 3), key);
    const std::string decoded = HexScramble(encoded, false, key);
    ASSERT_EQ(decoded.size(), 3u);
    EXPECT_EQ(decoded[0], '\x01');
    EXPECT_EQ(static_cast<unsigned char>(decoded[1]), 255);
    EXPECT_EQ(decoded[2], '\x02');
}

TEST(HexScrambleTest, BadDigitsGiveTheConversionError)
{
    EXPECT_EQ(expectConvertError("10ZZ"), "'$ZZ' is not a valid integer value");
    EXPECT_EQ(expectConvertError("G012"), "'$G0' is not a valid integer value");
    EXPECT_EQ(expectConvertError("1234 5"), "'$ 5' is not a valid integer value");
    // A seed alone has no value to decode: the first pass finds no digits.
    EXPECT_EQ(expectConvertError("AB"), "'$' is not a valid integer value");
    EXPECT_EQ(expectConvertError("A"), "'$' is not a valid integer value");
}

TEST(HexScrambleTest, ProductTextsDecodeToTheirStoredLengths)
{
    // The title is 20 digits, 9 bytes: three characters of UTF-8.
    EXPECT_EQ(std::string_view(ProductTexts::kTitle).size(), 20u);
    EXPECT_EQ(HexScramble2(ProductTexts::kTitle, false, "").size(), 9u);
    for (const char *text : { ProductTexts::kCaptionText2, ProductTexts::kCaptionText3, ProductTexts::kWebAddress,
             ProductTexts::kVersion, ProductTexts::kAboutCaptionPrefix, ProductTexts::kAboutHeading,
             ProductTexts::kAboutTitle, ProductTexts::kAboutThanks, ProductTexts::kAboutLine1,
             ProductTexts::kAboutLine2, ProductTexts::kAboutLine3, ProductTexts::kAboutLine4 }) {
        const QString decoded = ProductTexts::decode(text);
        EXPECT_FALSE(decoded.isEmpty());
        EXPECT_FALSE(decoded.contains(QChar::ReplacementCharacter)) << text; // valid UTF-8 all through
    }
    EXPECT_TRUE(ProductTexts::decode(ProductTexts::kWebAddress).startsWith(QStringLiteral("https://")));
}
