#pragma once
// The records tool run in-process on a program folder, as the tests of its commands use it.

#include <sstream>
#include <string>
#include <vector>

#include "tests/records/records_test_support.h"
#include "tools/records/records_tool.h"

namespace tamrivo::testing {

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

class RecordsToolTest : public RecordsTest {
protected:
    // The tool on this folder, as `tamrivo-records ARGUMENTS` would run it.
    // What is typed goes to its standard input.
    ToolRun tool(std::vector<std::string> arguments, const std::string& typed = {}) {
        std::vector<const char*> words;
        for (const std::string& argument : arguments) {
            words.push_back(argument.c_str());
        }
        std::istringstream in(typed);
        std::ostringstream out;
        std::ostringstream err;
        ToolRun run;
        run.status = runRecordsTool(words, folder.path(), {in, out, err, false});
        run.out = out.str();
        run.err = err.str();
        return run;
    }
};

}  // namespace tamrivo::testing
