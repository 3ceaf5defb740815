#include "net/script_heap.h"

#include <gtest/gtest.h>

#include "net/script_engine.h"

namespace tamrivo {
namespace {

duk_ret_t evaluateArgument(duk_context* context, void* data) {
    duk_eval_string(context, static_cast<const char*>(data));
    return 1;
}

duk_ret_t failFatally(duk_context* context, void*) {
    duk_fatal(context, "deliberate");
    return 0;
}

TEST(ScriptHeap, AFatalErrorBreaksTheHeapInsteadOfTheProcess) {
    ScriptHeap heap;
    ASSERT_NE(heap.context(), nullptr);
    EXPECT_FALSE(heap.call(failFatally, nullptr));
    EXPECT_EQ(heap.context(), nullptr);
    EXPECT_FALSE(heap.call(evaluateArgument, const_cast<char*>("1+1")));
}

TEST(ScriptHeap, RunningOutOfItsMemoryIsAnErrorItRecoversFrom) {
    ScriptHeap heap(4u << 20);
    ASSERT_NE(heap.context(), nullptr);
    EXPECT_FALSE(heap.call(evaluateArgument,
                           const_cast<char*>("var a=[]; for(;;) a.push('x' + a.length);")));
    duk_pop(heap.context());
    ASSERT_TRUE(heap.call(evaluateArgument, const_cast<char*>("a = null; 6*7")));
    EXPECT_EQ(duk_get_number(heap.context(), -1), 42.0);
    duk_pop(heap.context());
}

TEST(ScriptEngine, ErrorsGiveEmptyResultsAndValuesKeepTheirType) {
    ScriptEngine engine;
    EXPECT_TRUE(std::holds_alternative<std::monostate>(engine.evaluate("throw 1")));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(engine.evaluate("(")));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(engine.evaluate("null")));
    EXPECT_EQ(std::get<bool>(engine.evaluate("1==1")), true);
    EXPECT_EQ(std::get<double>(engine.evaluate("0.5")), 0.5);
    EXPECT_EQ(std::get<std::string>(engine.evaluate("[1,2]")), "1,2");
    EXPECT_FALSE(engine.run("syntax error here"));
    EXPECT_TRUE(engine.run("var kept = 3;"));
    EXPECT_EQ(std::get<double>(engine.evaluate("kept")), 3.0);
}

}  // namespace
}  // namespace tamrivo
