// Writes arbitrary GBK texts through the query builder into a real database and checks what
// must hold for any text: it is stored and read back exactly, a condition with the quoted
// text finds its row, and no statement reaches another row.
// Input: any bytes; the valid GBK characters among them, in order, form the text.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/text_encoding.h"
#include "data/database.h"
#include "data/query_builder.h"

namespace {

using namespace tamrivo;

// Rows every run must leave as they are: quotes, a backslash, 房 (B7 BF), the euro sign.
constexpr char kUntouched[] = "1|it's|\\\"|2|\xB7\xBF\x80|''|";

void check(bool condition, const char* what) {
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// The GBK characters among the bytes: ASCII but NUL, the euro sign 0x80, and every pair the
// conversion reads as one character; any other byte is left out.
Text validGbk(std::string_view bytes) {
    Text text;
    for (std::size_t at = 0; at < bytes.size(); ++at) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        if (byte == 0) {
            continue;
        }
        if (byte <= 0x80) {
            text += bytes[at];
        } else if (at + 1 < bytes.size() && !gbkToUtf8(bytes.substr(at, 2)).empty()) {
            text.append(bytes.substr(at, 2));
            ++at;
        }
    }
    return text;
}

Database& database() {
    static Database* db = [] {
        auto* opened = new Database;
        check(opened->open(), "open an in-memory database");
        check(opened->execute("CREATE TABLE `t` (`id` INTEGER PRIMARY KEY, `a` TEXT, `b` TEXT)"),
              "create the table");
        check(opened->execute("INSERT INTO `t` (`a`, `b`) VALUES('it''s', '\\\"'), "
                              "('\xB7\xBF\x80', '''''')"),
              "insert the rows no run may touch");
        return opened;
    }();
    return *db;
}

Text everyRow(Database& db) {
    Text rows;
    StatementHandle statement = db.prepare("SELECT `id`, `a`, `b` FROM `t` ORDER BY `id`");
    while (db.step(statement)) {
        rows += db.columnText(statement, 0) + "|" + db.columnText(statement, 1) + "|" +
                db.columnText(statement, 2) + "|";
    }
    db.finalize(statement);
    return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Text text = validGbk(std::string_view(reinterpret_cast<const char*>(data), size));
    const Text quoted = QueryBuilder::quoteText(text);
    const Text escaped = QueryBuilder::quoteText(text, false);  // a second text, quotes doubled
    Database& db = database();
    QueryBuilder builder;

    builder.reset("t").name("a").textValue(text);
    builder.name("b").textValue(escaped);
    check(db.run(builder.buildInsert()), "the insert runs");
    const std::string id = std::to_string(db.lastInsertRowid());
    check(db.queryText("SELECT `a` FROM `t` WHERE `id`=" + id) == text, "a reads back exactly");
    check(db.queryText("SELECT `b` FROM `t` WHERE `id`=" + id) == escaped, "b reads back exactly");

    // The other rows may hold the same text; the id keeps them out, the quoted text must match.
    const Text itsRow = "`id`=" + id + " AND `a`=" + quoted;
    builder.reset("t").name("b").textValue(text);
    check(db.run(builder.buildUpdate({}, itsRow)) && db.changes() == 1,
          "the update finds its row by the quoted text");
    check(db.queryText("SELECT `b` FROM `t` WHERE `id`=" + id) == text, "b reads back updated");

    check(db.run(builder.buildDelete("t", itsRow)) && db.changes() == 1,
          "the delete finds its row by the quoted text");
    check(everyRow(db) == kUntouched, "no other row changed");
    return 0;
}
