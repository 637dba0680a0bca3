#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace pixolo
{

// A 128-bit identifier of a class, a category or a format, as persisted data and device entries carry them.
//
// In memory (and in every persisted byte block) the first three groups are little-endian and the last eight bytes
// follow in order: {73646976-0000-0010-8000-00AA00389B71} is stored as 76 69 64 73 00 00 10 00 80 00 00 AA 00 38 9B 71.
struct GUID {
    std::uint32_t Data1 = 0;
    std::uint16_t Data2 = 0;
    std::uint16_t Data3 = 0;
    std::array<std::uint8_t, 8> Data4 {};

    static constexpr int byteSize = 16;

    constexpr bool isNull() const { return *this == GUID {}; }
    constexpr bool operator==(const GUID &other) const = default;

    // The usual braced text, upper-case hexadecimal: "{73646976-0000-0010-8000-00AA00389B71}".
    QString toString() const;
    // Reads the braced text (braces optional, either letter case); nothing for any other text.
    static std::optional<GUID> fromString(QStringView text);

    // The 16 bytes of the in-memory layout above.
    QByteArray toBytes() const;
    void writeTo(unsigned char *out) const;
    static GUID readFrom(const unsigned char *in);
};

inline constexpr GUID GUID_NULL {};

} // namespace pixolo
