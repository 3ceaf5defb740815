#include "net/json_object.h"

#include "base/text_encoding.h"
#include "base/text_to_value.h"
#include "net/json_path.h"
#include "net/json_support_script.h"
#include "net/json_values.h"
#include "net/script_engine.h"

namespace tamrivo {
namespace {

// The global variable that holds the document.
constexpr char kRoot[] = "Root";

std::string script(const Text& text) {
    return gbkToUtf8(text);
}

// A member of the document; a path that is empty names nothing and fails.
std::string member(std::string_view path) {
    return std::string(kRoot) + "." + std::string(path);
}

// The value at a path, the document itself for an empty path.
std::string valueAt(std::string_view path) {
    return path.empty() ? std::string(kRoot) : member(path);
}

}  // namespace

JsonObject::JsonObject() : engine_(std::make_unique<ScriptEngine>()) {
    engine_->run(jsonSupportScript());
    evaluate(std::string("var ") + kRoot + "={}");
}

JsonObject::~JsonObject() = default;
JsonObject::JsonObject(JsonObject&&) noexcept = default;
JsonObject& JsonObject::operator=(JsonObject&&) noexcept = default;

bool JsonObject::parse(const Text& json) {
    engine_->parseJsonInto(kRoot, script(json));
    return evaluateBool(std::string("null !=") + kRoot);
}

Text JsonObject::toText() {
    return evaluateText(std::string("JSON.stringify(") + kRoot + ")");
}

void JsonObject::clear() {
    evaluate(std::string(kRoot) + "={}");
}

double JsonObject::memberCount(const Text& path) {
    return toNumber(evaluateText("get__count(" + valueAt(script(path)) + ")"));
}

void JsonObject::ensureArray(const Text& path) {
    ensureArrayAt(script(path));
}

void JsonObject::ensureArrayAt(std::string_view path) {
    const std::string array = valueAt(withoutLastIndex(path));
    evaluate("if(" + array + " instanceof Array==false){ " + array + "=new Array() }");
}

bool JsonObject::remove(const Text& path) {
    const std::string target = script(path);
    if (endsWithIndex(target)) {
        return evaluateBool(member(withoutLastIndex(target)) + ".splice(" +
                            std::to_string(indexNumber(target)) + ",1).length==1");
    }
    return evaluateBool("delete " + member(target));
}

Text JsonObject::readText(const Text& path) {
    return evaluateText(member(trimmedPath(script(path))));
}

Text JsonObject::readJson(const Text& path) {
    return evaluateText("JSON.stringify(" + member(script(path)) + ")");
}

void JsonObject::assign(const Text& path, const Text& expression) {
    assignAt(script(path), script(expression));
}

void JsonObject::assignAt(std::string_view path, std::string_view expression) {
    const std::vector<std::string> segments = splitAt(trimmedPath(path), '.');
    std::string reached;  // the path so far, each segment after a "."
    for (std::size_t i = 0; i < segments.size(); ++i) {
        reached += "." + segments[i];
        const std::string_view sofar = std::string_view(reached).substr(1);
        const bool indexed = endsWithIndex(segments[i]);
        if (i + 1 == segments.size()) {
            if (indexed) {
                ensureArrayAt(sofar);
            }
            evaluate(kRoot + reached + "=" + std::string(expression));
        } else if (!existsAt(sofar)) {
            if (indexed) {
                ensureArrayAt(sofar);
            }
            evaluate(kRoot + reached + "={}");
        }
    }
}

Text JsonObject::text(const Text& path) {
    return readText(path);
}

Text JsonObject::text(const Text& path, const Text& value) {
    assignAt(script(path), textLiteral(script(value)));
    return readText(path);
}

std::int32_t JsonObject::integer(const Text& path) {
    return toInt(readText(path));
}

std::int32_t JsonObject::integer(const Text& path, std::int32_t value) {
    assignAt(script(path), std::to_string(value));
    return integer(path);
}

std::int64_t JsonObject::longInteger(const Text& path) {
    return toInt64(readText(path));
}

std::int64_t JsonObject::longInteger(const Text& path, std::int64_t value) {
    assignAt(script(path), std::to_string(value));
    return longInteger(path);
}

bool JsonObject::boolean(const Text& path) {
    return readText(path) == "-1";
}

bool JsonObject::boolean(const Text& path, bool value) {
    assignAt(script(path), value ? "true" : "false");
    return boolean(path);
}

Text JsonObject::json(const Text& path) {
    return readJson(path);
}

Text JsonObject::json(const Text& path, const Text& json) {
    // Read as JSON, like parse: the caller's text is never run as script.
    assignAt(script(path), "JSON.parse(" + textLiteral(script(json)) + ")");
    return readJson(path);
}

double JsonObject::number(const Text& path) {
    return toNumber(readText(path));
}

double JsonObject::number(const Text& path, double value) {
    assignAt(script(path), numberLiteral(value));
    return number(path);
}

float JsonObject::single(const Text& path) {
    return static_cast<float>(number(path));
}

float JsonObject::single(const Text& path, float value) {
    assignAt(script(path), singleLiteral(value));
    return single(path);
}

Text JsonObject::setNull(const Text& path) {
    assignAt(script(path), "null");
    return readText(path);
}

bool JsonObject::exists(const Text& path) {
    return existsAt(script(path));
}

bool JsonObject::existsAt(std::string_view path) {
    return evaluateBool(member(path) + "!=null");
}

bool JsonObject::isNull(const Text& path) {
    return evaluateBool(member(script(path)) + "==null");
}

std::vector<Text> JsonObject::keys(const Text& path) {
    const Text list = evaluateText("var ary=''; for (var key in " + valueAt(script(path)) +
                                   ") {ary=ary+ key+','; }");
    evaluate("ary=null");
    return splitAt(list, ',');  // a comma is never the second byte of a GBK character
}

JsonKind JsonObject::typeOf(const Text& path) {
    const std::string value = valueAt(script(path));
    if (evaluateBool(value + "==null")) {
        return JsonKind::Null;
    }
    const Text type = evaluateText("typeof (" + value + ")");
    if (type == "string") {
        return JsonKind::String;
    }
    if (type == "number") {
        return JsonKind::Number;
    }
    if (type == "object") {
        return evaluateBool("!" + value + ".map") ? JsonKind::Object : JsonKind::Array;
    }
    return JsonKind::Other;
}

Text JsonObject::evaluateText(std::string_view source) {
    return resultText(engine_->evaluate(source));
}

bool JsonObject::evaluateBool(std::string_view source) {
    return resultBool(engine_->evaluate(source));
}

void JsonObject::evaluate(std::string_view source) {
    engine_->evaluate(source);
}

}  // namespace tamrivo
