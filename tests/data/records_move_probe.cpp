// One step of records moving between SQLCipher 3 and 4, run in turn under each: in a folder it
// opens Data.db and every backup there with the key derived as the program derives it,
// expects the rows the steps before it added, adds one to each, and backs Data.db up into a
// new file of its own. The first step makes Data.db. It also checks that it runs under the
// SQLCipher it was meant to, so two steps never prove the same library twice.
//
// usage: records_move_probe MAJOR-VERSION FOLDER STEP
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "data/database.h"
#include "data/key_derivation.h"

namespace {

using tamrivo::Database;
using tamrivo::Text;

constexpr char kPassphrase[] = "records-move-passphrase";

bool complain(const std::string& what) {
    std::fprintf(stderr, "records_move_probe: %s\n", what.c_str());
    return false;
}

bool runsUnder(int major) {
    Database memory;
    const bool opened = memory.open({}, kPassphrase);
    const Text version = memory.queryText("PRAGMA cipher_version");
    memory.close();
    if (!opened || version.empty() || version.front() != static_cast<char>('0' + major)) {
        return complain("expected SQLCipher " + std::to_string(major) + ", found '" + version +
                        "'");
    }
    return true;
}

bool makeRecords(const std::string& file) {
    Database db;
    const bool made = db.open(file, kPassphrase, true) &&
                      db.execute("CREATE TABLE rooms(id INTEGER PRIMARY KEY, name TEXT)") &&
                      db.close();
    return made || complain("cannot make " + file + ": " + db.errorMessage());
}

// A wrong key must fail the open, and quietly: the test fails on the library's console line.
bool refusesWrongKey(const std::string& file) {
    Database db;
    const bool opened = db.open(file, "not the passphrase");
    db.close();
    return !opened || complain(file + " opened with a wrong key");
}

bool stepOn(const std::string& file, int rows) {
    const std::optional<Text> key = tamrivo::derivedKeyOfFile(file, kPassphrase);
    Database db;
    if (!key || !db.open(file, *key)) {
        return complain("the derived key does not open " + file + ": " + db.errorMessage());
    }
    const int found = db.queryInt("SELECT count(*) FROM rooms");
    const bool added =
        db.run("INSERT INTO rooms(name) VALUES('room " + std::to_string(rows + 1) + "')");
    db.close();
    if (found != rows || !added) {
        return complain(file + ": " + std::to_string(found) + " rows, expected " +
                        std::to_string(rows) + (added ? "" : ", and the row was not added"));
    }
    return true;
}

bool backUp(const std::string& folder, int step, int major) {
    const std::string target =
        folder + "/Backup-" + std::to_string(step) + "-sqlcipher" + std::to_string(major) + ".db";
    Database db;
    const bool copied = db.open(folder + "/Data.db", kPassphrase) &&
                        db.backup(target, {}, {}, kPassphrase) && db.close();
    return copied || complain("cannot back up into " + target);
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s MAJOR-VERSION FOLDER STEP\n", argv[0]);
        return 2;
    }
    const int major = std::atoi(argv[1]);
    const std::string folder = argv[2];
    const int step = std::atoi(argv[3]);
    const std::string records = folder + "/Data.db";
    if (!runsUnder(major) || (step == 0 && !makeRecords(records)) || !refusesWrongKey(records)) {
        return 1;
    }
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        if (entry.path().extension() == ".db" && !stepOn(entry.path().string(), step)) {
            return 1;
        }
    }
    return backUp(folder, step, major) ? 0 : 1;
}
