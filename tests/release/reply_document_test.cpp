#include "tools/release/reply_document.h"

#include <gtest/gtest.h>

#include "base/text_encoding.h"
#include "net/json_object.h"

namespace tamrivo::release {
namespace {

// As the program reads it.
Text member(const Text& reply, const Text& name) {
    JsonObject document;
    EXPECT_TRUE(document.parse(reply)) << reply;
    return document.text(name);
}

TEST(ReplyDocument, IsGbkJsonThatTheProgramReadsBackAsWritten) {
    // 0x81 0x5C: a character whose second GBK byte is a backslash.
    const Text tricky = "\x81\x5C";
    const std::string notes = gbkToUtf8("修复 \"退房\" 结算\\" + tricky + "\r\n第二行\t") + "\x01";
    const auto reply = replyDocument({"1.0.0.1", notes, "http://h:81/tamrivo-1.0.0.1.zip", "ab12",
                                      "statement\n" + notes, "cd34"});

    ASSERT_TRUE(reply);
    EXPECT_NE(reply->find(tricky), Text::npos) << "the character itself, in GBK";
    EXPECT_EQ(member(*reply, "软件名称"), "Tamrivo");
    EXPECT_EQ(member(*reply, "版本"), "1.0.0.1");
    EXPECT_EQ(member(*reply, "更新说明"), utf8ToGbk(notes));
    EXPECT_EQ(member(*reply, "更新地址"), "http://h:81/tamrivo-1.0.0.1.zip");
    EXPECT_EQ(member(*reply, "签名"), "ab12");
    EXPECT_EQ(member(*reply, "发布声明"), "statement\n" + utf8ToGbk(notes));
    EXPECT_EQ(member(*reply, "声明签名"), "cd34");
}

TEST(ReplyDocument, NotesGbkCannotWriteAreRefused) {
    EXPECT_FALSE(replyDocument({"1.0.0.1", "\xF0\x9F\x8F\xA0", "http://h/p.zip", "ab", "", ""}));
    EXPECT_FALSE(replyDocument({"1.0.0.1", "\xFF broken UTF-8", "http://h/p.zip", "ab", "", ""}));
}

}  // namespace
}  // namespace tamrivo::release
