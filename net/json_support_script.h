#pragma once

#include <string_view>

namespace tamrivo {

// The program's support script for JSON documents (json_support.js, built in).
std::string_view jsonSupportScript();

}  // namespace tamrivo
