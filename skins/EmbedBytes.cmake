# cmake -DINPUT=file -DOUTPUT=file.cpp -P EmbedBytes.cmake
# Writes the bytes of INPUT as the array behind pixoloStoredSkin().
file(READ "${INPUT}" hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
# Twenty bytes a line keeps the generated file readable in a diff or a debugger.
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){20})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from the packed skin by EmbedBytes.cmake; do not edit.
#include <cstddef>

namespace pixolo::storedskin {

extern const unsigned char s_bytes[];
extern const std::size_t s_size;

const unsigned char s_bytes[] = {
    ${bytes}
};
const std::size_t s_size = ${size};

} // namespace pixolo::storedskin
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
