#include "ui/text_encoding.h"

#include <iconv.h>

#include <cerrno>

namespace tamrivo {
namespace {

// Opening a converter costs more than most conversions, and texts cross to the window
// toolkit by the thousand: each thread keeps its converters open.
class Converter {
public:
    Converter(const char* from, const char* to) : cd_(iconv_open(to, from)) {}
    ~Converter() {
        if (valid()) {
            iconv_close(cd_);
        }
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return cd_ != reinterpret_cast<iconv_t>(-1); }

    enum class Outcome { Done, Invalid, Full };

    // Converts as much of the input as fits; both are advanced past what was done.
    Outcome convert(std::string_view& input, char*& out, std::size_t& outLeft) {
        char* in = const_cast<char*>(input.data());
        std::size_t inLeft = input.size();
        const std::size_t result = iconv(cd_, &in, &inLeft, &out, &outLeft);
        input.remove_prefix(input.size() - inLeft);
        if (result != static_cast<std::size_t>(-1)) {
            return Outcome::Done;
        }
        return errno == E2BIG ? Outcome::Full : Outcome::Invalid;  // or incomplete
    }

    // Back to the initial state, as a fresh converter.
    void reset() { iconv(cd_, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t cd_;
};

std::string convert(std::string_view input, Converter& converter) {
    if (input.empty() || !converter.valid()) {
        return {};
    }
    converter.reset();
    std::string output(input.size() * 2 + 8, '\0');
    std::size_t written = 0;
    for (;;) {
        char* out = output.data() + written;
        std::size_t outLeft = output.size() - written;
        const Converter::Outcome outcome = converter.convert(input, out, outLeft);
        written = output.size() - outLeft;
        if (outcome == Converter::Outcome::Done) {
            break;
        }
        if (outcome == Converter::Outcome::Invalid) {
            return {};
        }
        output.resize(output.size() * 2);
    }
    output.resize(written);
    return output;
}

}  // namespace

std::string gbkToUtf8(std::string_view gbk) {
    thread_local Converter converter("CP936", "UTF-8");
    return convert(gbk, converter);
}

std::string utf8ToGbk(std::string_view utf8) {
    thread_local Converter converter("UTF-8", "CP936");
    return convert(utf8, converter);
}

std::size_t gbkToUtf16(std::string_view gbk, char16_t* out) {
    thread_local Converter converter("CP936", "UTF-16LE");
    if (gbk.empty() || !converter.valid()) {
        return 0;
    }
    converter.reset();
    char* bytes = reinterpret_cast<char*>(out);
    std::size_t bytesLeft = gbk.size() * sizeof(char16_t);
    if (converter.convert(gbk, bytes, bytesLeft) != Converter::Outcome::Done) {
        return 0;
    }
    return (bytes - reinterpret_cast<char*>(out)) / sizeof(char16_t);
}

}  // namespace tamrivo
