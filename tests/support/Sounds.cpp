#include "Sounds.h"

#include <QByteArray>
#include <QFile>
#include <QtEndian>

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace pixolo::test
{

void writeWav(const QString &fileName, int milliseconds)
{
    constexpr int rate = 8000;
    const int samples = rate * milliseconds / 1000;
    QByteArray data(samples * 2, '\0');
    for (int i = 0; i < samples; ++i) {
        const auto value = std::int16_t(8000 * std::sin(2 * M_PI * 440 * i / rate));
        qToLittleEndian(value, data.data() + i * 2);
    }
    QByteArray header;
    const auto word = [&](std::uint32_t value) {
        char bytes[4];
        qToLittleEndian(value, bytes);
        header.append(bytes, 4);
    };
    const auto half = [&](std::uint16_t value) {
        char bytes[2];
        qToLittleEndian(value, bytes);
        header.append(bytes, 2);
    };
    header.append("RIFF");
    word(std::uint32_t(36 + data.size()));
    header.append("WAVEfmt ");
    word(16);
    half(1); // PCM
    half(1); // mono
    word(rate);
    word(rate * 2);
    half(2);
    half(16);
    header.append("data");
    word(std::uint32_t(data.size()));
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(header + data) != header.size() + data.size()) {
        throw std::runtime_error("cannot write " + fileName.toStdString());
    }
}
} // namespace pixolo::test
