// pixolo-scramble: encodes or decodes a text with the program's text scrambler.
//
//   pixolo-scramble encode TEXT [--key K] [--v1]
//   pixolo-scramble decode HEX  [--key K] [--v1]
//
// Without --v1 the second routine (the one the program decodes its texts with) is used; --key gives a key, else the
// routine's default key applies. Texts are taken and printed as UTF-8 bytes.
#include "app/HexScramble.h"
#include "platform/EConvertError.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

int usage()
{
    std::fputs("usage: pixolo-scramble encode TEXT [--key K] [--v1]\n"
               "       pixolo-scramble decode HEX [--key K] [--v1]\n",
               stderr);
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3) {
        return usage();
    }
    const std::string mode = argv[1];
    if (mode != "encode" && mode != "decode") {
        return usage();
    }
    const std::string text = argv[2];
    std::string key;
    bool v1 = false;
    for (int i = 3; i < argc; ++i) {
        if (std::strcmp(argv[i], "--v1") == 0) {
            v1 = true;
        } else if (std::strcmp(argv[i], "--key") == 0 && i + 1 < argc) {
            key = argv[++i];
        } else {
            return usage();
        }
    }
    try {
        const bool encode = mode == "encode";
        const std::string result
            = v1 ? pixolo::HexScramble(text, encode, key) : pixolo::HexScramble2(text, encode, key);
        std::fwrite(result.data(), 1, result.size(), stdout);
        std::fputc('\n', stdout);
    } catch (const pixolo::EConvertError &error) {
        std::fprintf(stderr, "pixolo-scramble: %s\n", error.what());
        return 1;
    }
    return 0;
}
