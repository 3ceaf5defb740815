#include "records/csv.h"

#include <charconv>
#include <system_error>

namespace tamrivo {

std::string csvField(std::string_view field) {
    const std::string value = defuseFormula(std::string(field));
    if (value.find_first_of(",\"\r\n") == std::string::npos) {
        return value;
    }
    std::string quoted = "\"";
    for (const char c : value) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + '"';
}

std::string csvRecord(std::span<const std::string> fields) {
    std::string record;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        record += (i == 0 ? "" : ",") + csvField(fields[i]);
    }
    return record + "\r\n";
}

std::string defuseFormula(std::string text) {
    // A negative amount is a number to the spreadsheet, never a formula: it stays a number.
    double number = 0;
    const char* end = text.data() + text.size();
    const auto parsed = std::from_chars(text.data(), end, number);
    if (parsed.ec == std::errc{} && parsed.ptr == end) {
        return text;
    }
    if (!text.empty() &&
        std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) {
        text.insert(text.begin(), '\'');
    }
    return text;
}

}  // namespace tamrivo
