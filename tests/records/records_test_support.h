#pragma once
// A program folder with a database made by the set-up code, as the tests of the records and
// of the records tool use it.

#include <gtest/gtest.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "base/text_encoding.h"
#include "data/database.h"
#include "records/database_setup.h"
#include "records/schema.h"
#include "tests/support/file_contents.h"
#include "tests/support/run_command.h"
#include "tests/support/temporary_folder.h"

namespace tamrivo::testing {

// What a landlord types first in Debian's SQLCipher shell to read the records: the program's
// key, and on SQLCipher 4 the records' format (SQLCipher 3's; SQLCipher 3 ignores the line).
inline constexpr char kShellKey[] = "PRAGMA key='Qw482617.';\nPRAGMA cipher_compatibility = 3;\n";

// Feeds commands (UTF-8, as the shell reads them) to Debian's SQLCipher shell on a file.
inline std::string sqlcipherShell(const TemporaryFolder& folder, const std::string& database,
                                  const std::string& commands) {
    const std::string script = folder.file("commands.sql");
    std::ofstream(script) << commands;
    return runCommand(std::string(TAMRIVO_SQLCIPHER_SHELL) + " '" + database + "' < '" + script +
                      "'")
        .second;
}

class RecordsTest : public ::testing::Test {
protected:
    ~RecordsTest() override { db.close(); }

    std::filesystem::path dataFolder() const { return folder.path() / schema::kDatabaseFolder; }
    std::filesystem::path databaseFile() const { return dataFolder() / schema::kDatabaseFile; }

    // Creates the program's database and opens it as the program does.
    void makeDatabase(bool demo = false) {
        const SetupOutcome outcome = createDatabase(databaseFile(), demo);
        ASSERT_TRUE(outcome.created) << outcome.message;
        ASSERT_TRUE(db.open(databaseFile().string(), schema::kDatabaseKey)) << db.errorMessage();
    }

    void execute(const Text& sql) {
        Text error;
        ASSERT_TRUE(db.execute(sql, &error)) << sql << ": " << readableGbk(error);
    }

    TemporaryFolder folder;
    Database db;
};

// Every row of the three tables, as texts, from an open connection: two databases' records
// compare equal when these do.
inline std::string rowsOf(Database& database) {
    std::string dump;
    for (const char* table : {"b_yh", "b_fangjian", "b_zulin"}) {
        TextTable rows;
        int rowCount = 0;
        int columnCount = 0;
        Text error;
        database.getTable("SELECT * FROM `" + Text(table) + "` ORDER BY `id`", &rows, rowCount,
                          columnCount, error);
        dump += std::string(table) + ":" + error + "\n";
        for (const auto& row : rows) {
            for (const Text& cell : row) {
                dump += cell + "|";
            }
            dump += "\n";
        }
    }
    return dump;
}

// The same of a records file opened with the built-in key.
inline std::string recordsOf(const std::filesystem::path& file) {
    Database database;
    // A file the key does not open still leaves a connection to close.
    const bool opened = database.open(file.string(), schema::kDatabaseKey);
    std::string dump = opened ? rowsOf(database) : "cannot open " + file.string();
    database.close();
    return dump;
}

}  // namespace tamrivo::testing
