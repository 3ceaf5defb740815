// Parsing and reading a reply of about 1 MB through JsonObject, against Duktape's own JSON
// parser on the same text in a bare heap. Compare the two times: the goal is at most 2x.

#include <benchmark/benchmark.h>
#include <duktape.h>

#include <string>

#include "base/text_encoding.h"
#include "net/json_object.h"

namespace tamrivo {
namespace {

// An update reply with a long list of records: GBK text, numbers, nested arrays.
const Text& reply() {
    static const Text text = [] {
        Text json = R"({"软件名称":"Tamrivo","版本":"1.0.0.1","更新说明":"修复若干问题","items":[)";
        for (int i = 0; json.size() < (1u << 20); ++i) {
            json += (i == 0 ? "" : ",");
            json += R"({"id":)" + std::to_string(i) + R"(,"name":"房间)" + std::to_string(i) +
                    R"(","price":)" + std::to_string(i % 500) + R"(.25,"let":)" +
                    (i % 3 == 0 ? "true" : "false") +
                    R"(,"tags":["东","南"],"note":"带窗，安静，\"靠近\"车站\n"})";
        }
        return json + "]}";
    }();
    return text;
}

void jsonObjectParseAndRead(benchmark::State& state) {
    JsonObject document;
    for (auto _ : state) {
        benchmark::DoNotOptimize(document.parse(reply()));
        benchmark::DoNotOptimize(document.text("版本"));
        benchmark::DoNotOptimize(document.text("更新说明"));
        benchmark::DoNotOptimize(document.memberCount("items"));
        benchmark::DoNotOptimize(document.integer("items[500].id"));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * reply().size()));
}
BENCHMARK(jsonObjectParseAndRead)->Unit(benchmark::kMillisecond);

void duktapeJsonParse(benchmark::State& state) {
    const std::string utf8 = gbkToUtf8(reply());
    duk_context* context = duk_create_heap_default();
    for (auto _ : state) {
        duk_push_lstring(context, utf8.data(), utf8.size());
        duk_json_decode(context, -1);
        duk_pop(context);
    }
    duk_destroy_heap(context);
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * reply().size()));
}
BENCHMARK(duktapeJsonParse)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tamrivo

BENCHMARK_MAIN();
