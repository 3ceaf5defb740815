#include "bench/app/program_folder.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <system_error>

#include "records/database_setup.h"
#include "records/schema.h"

namespace tamrivo::bench {

ProgramFolder::ProgramFolder()
    : path_(std::filesystem::temp_directory_path() /
            ("tamrivo-bench-" + std::to_string(::getpid()))) {
    std::filesystem::remove_all(path_);
    const SetupOutcome outcome = createDatabase(databaseFile(), false);
    if (!outcome.created) {
        std::fprintf(stderr, "%s\n", outcome.message.c_str());
        std::exit(1);
    }
}

ProgramFolder::~ProgramFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::filesystem::path ProgramFolder::databaseFile() const {
    return path_ / schema::kDatabaseFolder / schema::kDatabaseFile;
}

}  // namespace tamrivo::bench
