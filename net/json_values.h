#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "base/value_types.h"
#include "net/script_engine.h"

namespace tamrivo {

// Script results as the program reads them, the way an automation variant converts them:
// true "-1", false "0", numbers in decimal, strings as GBK text; nothing (a failed
// evaluation, null or undefined) and strings with characters outside GBK give "".
Text resultText(const ScriptValue& value);

// A boolean as it is, a number when not 0; anything else is false.
bool resultBool(const ScriptValue& value);

// A script number in decimal: whole numbers below 2^63 with all their digits, others in
// the shortest form that reads back as the same number.
Text numberText(double value);

// Literals for values stored into a document, in UTF-8 script syntax. Text literals are
// single-quoted with quotes, backslashes and line breaks escaped.
std::string textLiteral(std::string_view utf8);
std::string numberLiteral(double value);  // up to 13 significant digits
std::string singleLiteral(float value);   // up to 6 significant digits

}  // namespace tamrivo
