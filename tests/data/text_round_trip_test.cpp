// Texts written through the builder's INSERT and UPDATE into a real database come back exactly
// as given, and no text reaches a row it was not meant for.

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>
#include <vector>

#include "data/query_builder.h"
#include "tests/data/database_test_support.h"

namespace tamrivo::testing {
namespace {

// True when the system converter reads the bytes, all of them, as code page 936.
class SystemReader {
public:
    SystemReader() : descriptor_(iconv_open("UTF-8", "CP936")) {}
    ~SystemReader() { iconv_close(descriptor_); }
    SystemReader(const SystemReader&) = delete;
    SystemReader& operator=(const SystemReader&) = delete;

    bool reads(const std::string& bytes) const {
        char output[16];
        char* in = const_cast<char*>(bytes.data());
        std::size_t inLeft = bytes.size();
        char* out = output;
        std::size_t outLeft = sizeof output;
        const std::size_t result = iconv(descriptor_, &in, &inLeft, &out, &outLeft);
        iconv(descriptor_, nullptr, nullptr, nullptr, nullptr);
        return result != static_cast<std::size_t>(-1) && inLeft == 0;
    }

private:
    iconv_t descriptor_;
};

// Every character of code page 936 as the system converter reads it: ASCII but NUL, the
// bytes read alone above it (the euro sign 0x80), and every two-byte character.
std::vector<Text> everyGbkCharacter() {
    const SystemReader reader;
    std::vector<Text> characters;
    for (int first = 1; first <= 0xFF; ++first) {
        const Text lead(1, static_cast<char>(first));
        if (reader.reads(lead)) {
            characters.push_back(lead);
            continue;
        }
        for (int second = 0; second <= 0xFF; ++second) {
            const Text pair = lead + static_cast<char>(second);
            if (reader.reads(pair)) {
                characters.push_back(pair);
            }
        }
    }
    return characters;
}

// What each character is followed by: the characters quoting has ever touched.
constexpr char kQuotes[] = "'\\\"";

class TextRoundTrip : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(db.open());
        mustExecute(db, "CREATE TABLE `t` (`id` INTEGER PRIMARY KEY, `a` TEXT, `b` TEXT)");
        mustExecute(db, "CREATE INDEX `t_a` ON `t` (`a`)");  // tens of thousands of look-ups
        mustExecute(db, "INSERT INTO `t` (`a`, `b`) VALUES('first', 'x'), ('it''s', '\\\"')");
    }

    // Rows as "id|a|b", in id order.
    std::vector<Text> rows() {
        std::vector<Text> all;
        StatementHandle statement = db.prepare("SELECT `id`, `a`, `b` FROM `t` ORDER BY `id`");
        while (db.step(statement)) {
            all.push_back(db.columnText(statement, 0) + "|" + db.columnText(statement, 1) + "|" +
                          db.columnText(statement, 2));
        }
        db.finalize(statement);
        return all;
    }

    bool insert(const Text& a, const Text& b) {
        builder.reset("t").name("a").textValue(a);
        builder.name("b").textValue(b);
        return db.run(builder.buildInsert());
    }

    // Rewrites b of the rows whose a is the given text, found by a quoted condition as the
    // lease window finds its lease by order number; the number of rows changed.
    int updateWhereA(const Text& a, const Text& b) {
        builder.reset("t").name("b").textValue(b);
        return db.run(builder.buildUpdate({}, "`a`=" + QueryBuilder::quoteText(a))) ? db.changes()
                                                                                    : -1;
    }

    OpenDatabase database;
    Database& db = database.db;
    QueryBuilder builder;
    const std::vector<Text> untouched = {"1|first|x", "2|it's|\\\""};
};

TEST_F(TextRoundTrip, EveryCharacterFollowedByQuotesIsStoredAndFoundAsGiven) {
    const std::vector<Text> characters = everyGbkCharacter();
    ASSERT_GT(characters.size(), 21000u);  // 127 ASCII, the euro sign, the two-byte characters
    std::vector<Text> expected = untouched;
    ASSERT_TRUE(db.begin());
    for (std::size_t i = 0; i < characters.size(); ++i) {
        const Text text = characters[i] + kQuotes;
        ASSERT_TRUE(insert(text, ""))
            << readableGbk(text) << ": " << readableGbk(db.errorMessage());
        ASSERT_EQ(updateWhereA(text, kQuotes + characters[i]), 1) << readableGbk(text);
        expected.push_back(std::to_string(i + 3) + "|" + text + "|" + kQuotes + characters[i]);
    }
    ASSERT_TRUE(db.commit());
    const std::vector<Text> stored = rows();
    ASSERT_EQ(stored.size(), expected.size());
    int mismatches = 0;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        if (stored[i] != expected[i] && ++mismatches < 5) {
            ADD_FAILURE() << readableGbk(stored[i]) << " instead of " << readableGbk(expected[i]);
        }
    }
    EXPECT_EQ(mismatches, 0);
}

TEST_F(TextRoundTrip, TextsMadeToEndTheLiteralStayInsideIt) {
    const std::vector<Text> hostile = {
        "\x80' WHERE 1=1 --", "\x80'); DELETE FROM `t`; --", "\x80\x80', `b`='all",
        "礬' OR '1'='1",      "\\'; DROP TABLE `t`; --",     "line\r\nbreak' --\n",
    };
    std::vector<Text> expected = untouched;
    for (std::size_t i = 0; i < hostile.size(); ++i) {
        ASSERT_TRUE(insert(hostile[i], hostile[i])) << readableGbk(db.errorMessage());
        EXPECT_EQ(updateWhereA(hostile[i], hostile[i] + hostile[i]), 1);
        expected.push_back(std::to_string(i + 3) + "|" + hostile[i] + "|" + hostile[i] +
                           hostile[i]);
    }
    EXPECT_EQ(rows(), expected);
}

TEST_F(TextRoundTrip, SavingATextAsReadKeepsItUnchanged) {
    const Text address = "A\\B\"C";
    ASSERT_TRUE(insert(address, address));
    for (int edit = 0; edit < 3; ++edit) {
        const Text read = db.queryText("SELECT `b` FROM `t` WHERE `id`=3");
        ASSERT_EQ(updateWhereA(address, read), 1);
    }
    EXPECT_TEXT_EQ(db.queryText("SELECT `b` FROM `t` WHERE `id`=3"), address);
}

// A lead byte with no trail byte is not GBK: the statement fails whole and writes nothing.
TEST_F(TextRoundTrip, ATextThatIsNotGbkWritesNothing) {
    EXPECT_FALSE(insert("\x81' WHERE 1=1 --", "b"));
    EXPECT_EQ(updateWhereA("first", "\x81'"), -1);
    EXPECT_EQ(rows(), untouched);
}

}  // namespace
}  // namespace tamrivo::testing
