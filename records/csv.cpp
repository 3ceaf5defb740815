#include "records/csv.h"

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

namespace {

// Digits with at most one decimal point, and a percent sign at most at the end: what a
// spreadsheet reads as a number whatever sign stands before it.
bool plainNumber(std::string_view text) {
    if (text.ends_with('%')) {
        text.remove_suffix(1);
    }
    bool digit = false;
    bool point = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            digit = true;
        } else if (c == '.' && !point) {
            point = true;
        } else {
            return false;
        }
    }
    return digit;
}

}  // namespace

std::string defuseFormula(std::string text) {
    if (text.empty()) {
        return text;
    }
    // = and @ begin a formula or a function whatever follows; a sign, a tab or a carriage
    // return does only before something other than a number (-12.5, -65.0% stay numbers).
    const char first = text.front();
    const bool formula = first == '=' || first == '@' ||
                         (std::string_view("+-\t\r").find(first) != std::string_view::npos &&
                          !plainNumber(std::string_view(text).substr(1)));
    if (formula) {
        text.insert(text.begin(), '\'');
    }
    return text;
}

}  // namespace tamrivo
