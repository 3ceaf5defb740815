#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <variant>

namespace tamrivo {

class ScriptHeap;

// The value of an evaluation: nothing (it failed, or gave null or undefined), a boolean, a
// number or a UTF-8 string. Any other value arrives as its string form.
using ScriptValue = std::variant<std::monostate, bool, double, std::string>;

// A JavaScript engine of its own, for one thread. Everything in and out is UTF-8; errors
// never leave it, they show as a false or empty result.
class ScriptEngine {
public:
    ScriptEngine();
    ~ScriptEngine();
    ScriptEngine(const ScriptEngine&) = delete;
    ScriptEngine& operator=(const ScriptEngine&) = delete;

    // Runs a program in the global scope.
    bool run(std::string_view program);

    // Evaluates an expression or statements in the global scope, as eval() does.
    ScriptValue evaluate(std::string_view source);

    // Sets the global variable to null, then to the value of the JSON text. False when the
    // text is not JSON; the variable stays null then. The text is never run as script.
    bool parseJsonInto(const char* global, std::string_view json);

private:
    std::unique_ptr<ScriptHeap> heap_;
};

}  // namespace tamrivo
