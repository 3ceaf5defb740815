#include <ostream>

#include "records/database_setup.h"
#include "tools/records/records_commands.h"

namespace tamrivo {

int runCreate(const CommandInput& input) {
    const SetupOutcome outcome =
        createDatabase(input.databaseFile(), input.arguments.has("--demo"));
    if (!outcome.created) {
        return input.fail(outcome.message);
    }
    input.console.out << outcome.message << '\n';
    return kExitDone;
}

}  // namespace tamrivo
