#include "ui/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace tamrivo {
namespace {

std::string convert(std::string_view input, const char* from, const char* to) {
    if (input.empty()) {
        return {};
    }
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) {
        return {};
    }
    std::string output(input.size() * 2 + 8, '\0');
    char* in = const_cast<char*>(input.data());
    std::size_t inLeft = input.size();
    std::size_t written = 0;
    bool ok = true;
    while (inLeft > 0) {
        char* out = output.data() + written;
        std::size_t outLeft = output.size() - written;
        const std::size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        written = output.size() - outLeft;
        if (result != static_cast<std::size_t>(-1)) {
            continue;
        }
        if (errno != E2BIG) {
            ok = false;  // invalid or incomplete sequence
            break;
        }
        output.resize(output.size() * 2);
    }
    iconv_close(cd);
    if (!ok) {
        return {};
    }
    output.resize(written);
    return output;
}

}  // namespace

std::string gbkToUtf8(std::string_view gbk) { return convert(gbk, "CP936", "UTF-8"); }

std::string utf8ToGbk(std::string_view utf8) { return convert(utf8, "UTF-8", "CP936"); }

}  // namespace tamrivo
