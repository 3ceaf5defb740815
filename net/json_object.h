#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/value_types.h"

namespace tamrivo {

class ScriptEngine;

// What typeOf reports.
enum class JsonKind : int {
    Null = 0,  // null or undefined
    Number = 2,
    Object = 4,
    Array = 5,
    String = 6,
    Other = 255,  // a boolean, a function
};

// One JSON document held in a JavaScript engine of its own, read and changed through
// paths in script syntax relative to the document: "name", "a.b", "list[2]", Chinese
// member names included. Paths go into the script as written. Texts in and out are GBK.
//
// Reads of what is missing or null give the empty value ("", 0, false); nothing throws.
// An object belongs to the thread that created it; a moved-from one may only be destroyed
// or assigned to.
class JsonObject {
public:
    JsonObject();  // the empty document {}
    ~JsonObject();
    JsonObject(JsonObject&&) noexcept;
    JsonObject& operator=(JsonObject&&) noexcept;

    // Replaces the document with the JSON text; false, leaving null, when the text is not
    // JSON or is null. The text is never run as script.
    bool parse(const Text& json);
    Text toText();
    void clear();

    // Members of the object (elements of the array) at the path; the document for "".
    double memberCount(const Text& path = {});
    // Makes the array a path with an index refers to ("list" for "list[3]") an array,
    // replacing whatever else is there; the document itself for "".
    void ensureArray(const Text& path);
    // Takes an element out of its array (those after it move down) or deletes a member.
    bool remove(const Text& path);

    Text readText(const Text& path);
    Text readJson(const Text& path);
    // Stores the value of a script expression at the path, creating missing levels: empty
    // objects, or arrays for names followed by an index.
    void assign(const Text& path, const Text& expression);

    // Typed reads; with a value, store it first and read it back.
    Text text(const Text& path);
    Text text(const Text& path, const Text& value);
    std::int32_t integer(const Text& path);
    std::int32_t integer(const Text& path, std::int32_t value);
    std::int64_t longInteger(const Text& path);
    std::int64_t longInteger(const Text& path, std::int64_t value);
    bool boolean(const Text& path);
    bool boolean(const Text& path, bool value);
    Text json(const Text& path);
    Text json(const Text& path, const Text& json);  // stores the JSON text's value
    double number(const Text& path);
    double number(const Text& path, double value);
    float single(const Text& path);
    float single(const Text& path, float value);
    Text setNull(const Text& path);

    bool exists(const Text& path);
    bool isNull(const Text& path);
    // The names a for-in loop over the value lists: its own, then "toJSONString" and
    // "parseJSON", which every object has.
    std::vector<Text> keys(const Text& path = {});
    JsonKind typeOf(const Text& path = {});

private:
    Text evaluateText(std::string_view source);
    bool evaluateBool(std::string_view source);
    void evaluate(std::string_view source);

    void ensureArrayAt(std::string_view path);
    void assignAt(std::string_view path, std::string_view expression);
    bool existsAt(std::string_view path);

    std::unique_ptr<ScriptEngine> engine_;
};

}  // namespace tamrivo
