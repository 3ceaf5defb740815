#include "net/script_engine.h"

#include "net/script_heap.h"

namespace tamrivo {
namespace {

// The work functions run inside the heap's guard: they hold no C++ objects, since a
// script error leaves them by a long jump.

duk_ret_t runProgram(duk_context* context, void* data) {
    const auto* program = static_cast<const std::string_view*>(data);
    duk_compile_lstring(context, 0, program->data(), program->size());
    duk_call(context, 0);
    return 1;
}

duk_ret_t evaluateSource(duk_context* context, void* data) {
    const auto* source = static_cast<const std::string_view*>(data);
    duk_eval_lstring(context, source->data(), source->size());
    const duk_int_t type = duk_get_type(context, -1);
    if (type != DUK_TYPE_UNDEFINED && type != DUK_TYPE_NULL && type != DUK_TYPE_BOOLEAN &&
        type != DUK_TYPE_NUMBER && type != DUK_TYPE_STRING) {
        duk_to_string(context, -1);  // objects as their string form
    }
    return 1;
}

struct JsonAssignment {
    const char* global;
    std::string_view json;
};

duk_ret_t parseJson(duk_context* context, void* data) {
    const auto* assignment = static_cast<const JsonAssignment*>(data);
    duk_push_null(context);
    duk_put_global_string(context, assignment->global);
    duk_push_lstring(context, assignment->json.data(), assignment->json.size());
    duk_json_decode(context, -1);
    duk_put_global_string(context, assignment->global);
    duk_push_true(context);
    return 1;
}

ScriptValue topValue(duk_context* context) {
    switch (duk_get_type(context, -1)) {
        case DUK_TYPE_BOOLEAN:
            return duk_get_boolean(context, -1) != 0;
        case DUK_TYPE_NUMBER:
            return duk_get_number(context, -1);
        case DUK_TYPE_STRING: {
            duk_size_t length = 0;
            const char* text = duk_get_lstring(context, -1, &length);
            return std::string(text, length);
        }
        default:
            return {};
    }
}

}  // namespace

ScriptEngine::ScriptEngine() : heap_(std::make_unique<ScriptHeap>()) {}

ScriptEngine::~ScriptEngine() = default;

bool ScriptEngine::run(std::string_view program) {
    const bool ran = heap_->call(runProgram, &program);
    if (duk_context* context = heap_->context()) {
        duk_pop(context);
    }
    return ran;
}

ScriptValue ScriptEngine::evaluate(std::string_view source) {
    const bool evaluated = heap_->call(evaluateSource, &source);
    duk_context* context = heap_->context();
    if (context == nullptr) {
        return {};
    }
    ScriptValue value = evaluated ? topValue(context) : ScriptValue{};
    duk_pop(context);
    return value;
}

bool ScriptEngine::parseJsonInto(const char* global, std::string_view json) {
    JsonAssignment assignment{global, json};
    const bool parsed = heap_->call(parseJson, &assignment);
    if (duk_context* context = heap_->context()) {
        duk_pop(context);
    }
    return parsed;
}

}  // namespace tamrivo
