# cmake -DINPUT=file -DFILE_NAME=name -DOUTPUT=source -P embed_updater.cmake
# Writes a C++ source that carries the file INPUT as a byte block, named FILE_NAME.
file(READ "${INPUT}" hex HEX)
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "\\\\x\\1" escaped "${hex}")
file(WRITE "${OUTPUT}" "// Generated at build time from the built updater.
#include \"update_format/updater_image.h\"

namespace tamrivo {

namespace {
constexpr char kImage[] = \"${escaped}\";
}  // namespace

const char kUpdaterFileName[] = \"${FILE_NAME}\";

std::span<const std::uint8_t> updaterImage() {
    return {reinterpret_cast<const std::uint8_t*>(kImage), sizeof(kImage) - 1};
}

}  // namespace tamrivo
")
