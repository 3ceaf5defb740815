#include "net/json_support_script.h"

#include <gtest/gtest.h>

#include <string>

#include "net/script_engine.h"

namespace tamrivo {
namespace {

std::string text(const ScriptValue& value) {
    const std::string* result = std::get_if<std::string>(&value);
    return result == nullptr ? "(not a string)" : *result;
}

double number(const ScriptValue& value) {
    const double* result = std::get_if<double>(&value);
    return result == nullptr ? -1.0 : *result;
}

bool failed(const ScriptValue& value) {
    return std::holds_alternative<std::monostate>(value);
}

// The support script in an engine of its own, optionally without a built-in JSON object.
class SupportScript : public ::testing::Test {
protected:
    void load(bool withoutBuiltInJson) {
        if (withoutBuiltInJson) {
            ASSERT_TRUE(engine_.run("delete this.JSON;"));
            ASSERT_EQ(text(engine_.evaluate("typeof JSON")), "undefined");
        }
        ASSERT_TRUE(engine_.run(jsonSupportScript()));
    }
    ScriptEngine engine_;
};

TEST_F(SupportScript, CountsOwnMembersOnly) {
    load(false);
    EXPECT_EQ(number(engine_.evaluate("get__count({a:1,b:2,c:3})")), 3.0);
    EXPECT_EQ(number(engine_.evaluate("get__count([1,2])")), 2.0);
    EXPECT_EQ(number(engine_.evaluate("get__count('abc')")), 3.0);
    EXPECT_EQ(number(engine_.evaluate("get__count({toJSONString:1})")), 1.0);
    EXPECT_EQ(number(engine_.evaluate("get__count(null)")), 0.0);
    EXPECT_EQ(number(engine_.evaluate("get__count(undefined)")), 0.0);
    EXPECT_EQ(number(engine_.evaluate("get__count(7)")), 0.0);
}

TEST_F(SupportScript, EveryObjectWritesAndReadsJsonThroughEnumerableMembers) {
    load(false);
    EXPECT_EQ(text(engine_.evaluate("({a:[1,'x']}).toJSONString()")), R"({"a":[1,"x"]})");
    EXPECT_EQ(number(engine_.evaluate("'{\"a\":4}'.parseJSON().a")), 4.0);
    EXPECT_EQ(text(engine_.evaluate("var names=''; for (var n in {}) names+=n+','; names")),
              "toJSONString,parseJSON,");
}

TEST_F(SupportScript, DatesAndBoxedValuesWriteThemselves) {
    load(false);
    EXPECT_EQ(text(engine_.evaluate("JSON.stringify(new Date(Date.UTC(2020,1,17,9,5,3)))")),
              "\"2020-02-17T09:05:03Z\"");
    EXPECT_EQ(text(engine_.evaluate("JSON.stringify([new Date(NaN), new String('s'), "
                                    "new Number(2), new Boolean(false)])")),
              R"([null,"s",2,false])");
    EXPECT_EQ(text(engine_.evaluate("var names=''; for (var n in 'ab') names+=n+','; names")),
              "0,1,toJSONString,parseJSON,");
}

TEST_F(SupportScript, FallbackStringifyWritesJson) {
    load(true);
    EXPECT_EQ(text(engine_.evaluate(
                  R"(JSON.stringify({a:[1,'q"\\\n\u0001',true,null,undefined],b:{},c:undefined,)"
                  R"(d:1/0,e:function(){}}))")),
              R"({"a":[1,"q\"\\\n\u0001",true,null,null],"b":{},"d":null})");
    EXPECT_EQ(text(engine_.evaluate("JSON.stringify({a:[1],b:2}, null, 2)")),
              "{\n  \"a\": [\n    1\n  ],\n  \"b\": 2\n}");
    EXPECT_EQ(text(engine_.evaluate("JSON.stringify({a:1,b:2,c:3}, ['c','a'])")),
              R"({"c":3,"a":1})");
    EXPECT_EQ(text(engine_.evaluate(
                  "JSON.stringify({a:1,b:'x'}, function(k,v){ return k==='b' ? undefined : v; })")),
              R"({"a":1})");
    EXPECT_EQ(text(engine_.evaluate("JSON.stringify(new Date(Date.UTC(2001,0,2,3,4,5)))")),
              "\"2001-01-02T03:04:05Z\"");
    EXPECT_TRUE(failed(engine_.evaluate("var loop={}; loop.self=loop; JSON.stringify(loop)")));
}

TEST_F(SupportScript, FallbackParseReadsJsonOnly) {
    load(true);
    EXPECT_EQ(
        text(engine_.evaluate(
            R"(JSON.stringify(JSON.parse(' {"a" : [1, -2.5e1, "\\u4e2d\\n", true, null, {}]} ')))")),
        "{\"a\":[1,-25,\"\xE4\xB8\xAD\\n\",true,null,{}]}");
    EXPECT_EQ(number(engine_.evaluate(
                  R"(JSON.parse('{"a":1,"b":2}', function(k,v){ return k==='a' ? 10 : v; }).a)")),
              10.0);
    for (const char* invalid :
         {"'{a:1}'", "'[1,]'", "'[01]'", "'[.5]'", "'[1.]'", "\"['x']\"", "'[\"a\\tb\"]'",
          "'[\"\\\\x41\"]'", "'(function(){return 1})()'", "'[1] x'", "''", "'[tru]'",
          "'{\"a\" 1}'", "'[1e]'", "'-'", "'[' + new Array(2000).join('[')"}) {
        EXPECT_TRUE(failed(engine_.evaluate(std::string("JSON.parse(") + invalid + ")")))
            << invalid;
    }
}

}  // namespace
}  // namespace tamrivo
