#include "capture/Guid.h"

#include <QtEndian>

#include <cctype>

namespace pixolo
{

QString GUID::toString() const
{
    return QString::asprintf("{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", Data1, Data2, Data3, Data4[0],
        Data4[1], Data4[2], Data4[3], Data4[4], Data4[5], Data4[6], Data4[7]);
}

std::optional<GUID> GUID::fromString(QStringView text)
{
    text = text.trimmed();
    if (text.startsWith(u'{') && text.endsWith(u'}')) {
        text = text.mid(1, text.size() - 2);
    }
    // 8-4-4-4-12 hexadecimal digits.
    if (text.size() != 36 || text[8] != u'-' || text[13] != u'-' || text[18] != u'-' || text[23] != u'-') {
        return std::nullopt;
    }
    bool ok = true;
    const auto hex = [&](qsizetype from, qsizetype count) {
        bool converted = false;
        const qulonglong value = text.mid(from, count).toULongLong(&converted, 16);
        ok = ok && converted;
        return value;
    };
    for (const QChar c : text) {
        if (c != u'-' && !isxdigit(c.toLatin1())) {
            return std::nullopt;
        }
    }
    GUID guid;
    guid.Data1 = std::uint32_t(hex(0, 8));
    guid.Data2 = std::uint16_t(hex(9, 4));
    guid.Data3 = std::uint16_t(hex(14, 4));
    guid.Data4[0] = std::uint8_t(hex(19, 2));
    guid.Data4[1] = std::uint8_t(hex(21, 2));
    for (int i = 0; i < 6; ++i) {
        guid.Data4[size_t(2 + i)] = std::uint8_t(hex(24 + 2 * i, 2));
    }
    if (!ok) {
        return std::nullopt;
    }
    return guid;
}

QByteArray GUID::toBytes() const
{
    QByteArray bytes(byteSize, Qt::Uninitialized);
    writeTo(reinterpret_cast<unsigned char *>(bytes.data()));
    return bytes;
}

void GUID::writeTo(unsigned char *out) const
{
    qToLittleEndian(Data1, out);
    qToLittleEndian(Data2, out + 4);
    qToLittleEndian(Data3, out + 6);
    for (size_t i = 0; i < Data4.size(); ++i) {
        out[8 + i] = Data4[i];
    }
}

GUID GUID::readFrom(const unsigned char *in)
{
    GUID guid;
    guid.Data1 = qFromLittleEndian<std::uint32_t>(in);
    guid.Data2 = qFromLittleEndian<std::uint16_t>(in + 4);
    guid.Data3 = qFromLittleEndian<std::uint16_t>(in + 6);
    for (size_t i = 0; i < guid.Data4.size(); ++i) {
        guid.Data4[i] = in[8 + i];
    }
    return guid;
}

} // namespace pixolo
