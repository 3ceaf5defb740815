#pragma once
// Helpers shared by the Database tests.

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "data/database.h"
#include "tests/support/temporary_folder.h"

namespace tamrivo::testing {

inline void writeFile(const std::string& path, const std::string& content) {
    std::ofstream(path, std::ios::binary) << content;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A database that is closed at the end of the test whatever happened.
class OpenDatabase {
public:
    OpenDatabase() = default;
    ~OpenDatabase() { db.close(); }
    OpenDatabase(const OpenDatabase&) = delete;
    OpenDatabase& operator=(const OpenDatabase&) = delete;

    Database db;
};

// Runs SQL that must succeed.
inline void mustExecute(Database& db, const Text& sql) {
    Text error;
    ASSERT_TRUE(db.execute(sql, &error)) << sql << ": " << readableGbk(error);
}

}  // namespace tamrivo::testing
