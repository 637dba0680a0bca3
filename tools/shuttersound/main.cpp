// Synthesizes Pixolo's shutter sound: a short mechanical click-clack as 16-bit mono PCM WAV.
//
//   pixolo-shuttersound OUT.wav
//
// Two decaying bursts of filtered noise with a low thump, 0.18 s in all. Deterministic: the same bytes every build.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

namespace
{

constexpr int kRate = 44100;

void put16(std::vector<std::uint8_t> &out, std::uint16_t v)
{
    out.push_back(std::uint8_t(v & 0xFF));
    out.push_back(std::uint8_t(v >> 8));
}

void put32(std::vector<std::uint8_t> &out, std::uint32_t v)
{
    put16(out, std::uint16_t(v & 0xFFFF));
    put16(out, std::uint16_t(v >> 16));
}

// One click: noise through a one-pole low-pass, with a fast attack and exponential decay, plus a short sine thump.
void addClick(std::vector<double> &samples, double start, double length, double amplitude, double cutoff,
    double thumpHz, std::uint32_t &seed)
{
    const double alpha = 1.0 - std::exp(-2.0 * M_PI * cutoff / kRate);
    double filtered = 0.0;
    const int first = int(start * kRate);
    const int count = int(length * kRate);
    for (int i = 0; i < count && first + i < int(samples.size()); ++i) {
        seed = seed * 1664525u + 1013904223u;
        const double noise = (double(seed >> 8) / double(1u << 24)) * 2.0 - 1.0;
        filtered += alpha * (noise - filtered);
        const double t = double(i) / kRate;
        const double envelope = std::min(1.0, t / 0.0008) * std::exp(-t / (length / 5.0));
        const double thump = 0.5 * std::sin(2.0 * M_PI * thumpHz * t) * std::exp(-t / (length / 3.0));
        samples[size_t(first + i)] += amplitude * envelope * (filtered * 2.5 + thump);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fputs("usage: pixolo-shuttersound OUT.wav\n", stderr);
        return 2;
    }
    std::vector<double> samples(size_t(0.18 * kRate), 0.0);
    std::uint32_t seed = 20261209u;
    addClick(samples, 0.000, 0.060, 0.8, 6000.0, 180.0, seed); // shutter opens
    addClick(samples, 0.075, 0.100, 0.6, 3500.0, 120.0, seed); // and closes

    std::vector<std::uint8_t> data;
    for (const double s : samples) {
        const double clipped = std::max(-1.0, std::min(1.0, s));
        put16(data, std::uint16_t(std::int16_t(std::lround(clipped * 30000.0))));
    }
    std::vector<std::uint8_t> file;
    file.insert(file.end(), { 'R', 'I', 'F', 'F' });
    put32(file, std::uint32_t(36 + data.size()));
    file.insert(file.end(), { 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ' });
    put32(file, 16);
    put16(file, 1); // PCM
    put16(file, 1); // mono
    put32(file, kRate);
    put32(file, kRate * 2);
    put16(file, 2);
    put16(file, 16);
    file.insert(file.end(), { 'd', 'a', 't', 'a' });
    put32(file, std::uint32_t(data.size()));
    file.insert(file.end(), data.begin(), data.end());

    std::FILE *out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool ok = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (std::fclose(out) != 0 || !ok) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
