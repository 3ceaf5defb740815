# Run as a script (cmake -DSOURCE_DIR=... -P ScreenRules.cmake): fails, naming each line, when a
# screen in app/ reaches the records other than through records/: a statement or a quoted
# column of its own, the statement builder, or a transaction. The screens show and ask;
# records/ reads and writes.
cmake_minimum_required(VERSION 3.25)

set(rules
    "#[ \t]*include[ \t]+\"(records/statement_scope|data/query_builder)\\.h\""
    "\"(SELECT|INSERT|UPDATE|DELETE|REPLACE|PRAGMA|CREATE|DROP|ALTER)[ \t]"
    "\"[^\"]*`"
    "database(\\(\\))?\\.(prepare|execute|run|getTable|queryText|queryInt|begin|commit|rollback)\\(")

file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR} ${SOURCE_DIR}/app/*.h ${SOURCE_DIR}/app/*.cpp)
set(broken "")
foreach(source IN LISTS sources)
    file(STRINGS ${SOURCE_DIR}/${source} lines)
    foreach(line IN LISTS lines)
        foreach(rule IN LISTS rules)
            if(line MATCHES "${rule}")
                string(STRIP "${line}" shown)
                list(APPEND broken "${source}: ${shown}")
                break()
            endif()
        endforeach()
    endforeach()
endforeach()

if(broken)
    list(JOIN broken "\n" report)
    message(FATAL_ERROR "Screens that reach the records without records/:\n${report}")
endif()
