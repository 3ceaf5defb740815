// Only what opening the program's database costs: load the library, key the connection and
// run the first statement, which derives the key from the password and checks it against the
// file. The start-up benchmark's yardstick for the part of start-up no window toolkit has.
#include <cstdio>
#include <cstring>
#include <string>

#include "bench/support/raw_sqlcipher.h"
#include "records/schema.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s PROGRAM-DIRECTORY\n", argv[0]);
        return 2;
    }
    namespace schema = tamrivo::schema;
    const std::string file =
        std::string(argv[1]) + "/" + schema::kDatabaseFolder + "/" + schema::kDatabaseFile;
    const tamrivo::bench::RawSqlcipher api;
    sqlite3* connection = nullptr;
    const bool opened =
        api.open(file.c_str(), &connection, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
        api.key(connection, schema::kDatabaseKey, std::strlen(schema::kDatabaseKey)) == SQLITE_OK &&
        api.exec(connection, "PRAGMA synchronous = FULL", nullptr, nullptr, nullptr) == SQLITE_OK;
    api.close(connection);
    return opened ? 0 : 1;
}
