# Run as a script (cmake -DSOURCE_DIR=... -P LayerRules.cmake): fails, naming each line, when a
# folder includes a layer it must not reach. Each layer lists the folders it may include; a
# library sits below everything that may include it.
cmake_minimum_required(VERSION 3.25)

set(allowed_base base)
set(allowed_ui base ui)
set(allowed_data base data)
set(allowed_update_format base update_format)
set(allowed_records base data records)
set(allowed_id_card base id_card)
set(allowed_net base update_format net)
set(allowed_engine base ui engine)
set(allowed_app base ui data records update_format id_card net app)
set(allowed_tools base data records update_format tools)
set(layers base ui data update_format records id_card net engine app tools)

# Qt stays behind the engine: only the engine and the programs' mains include it.
set(qt_allowed_files main.cpp tools/updater/updater_main.cpp)

set(broken "")
foreach(layer IN LISTS layers)
    file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
        ${SOURCE_DIR}/${layer}/*.h ${SOURCE_DIR}/${layer}/*.cpp ${SOURCE_DIR}/${layer}/*.in)
    foreach(source IN LISTS sources)
        file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^[ \t]*#[ \t]*include")
        foreach(line IN LISTS includes)
            if(line MATCHES "#[ \t]*include[ \t]+\"([a-z_]+)/")
                set(target ${CMAKE_MATCH_1})
                if(target IN_LIST layers AND NOT target IN_LIST allowed_${layer})
                    list(APPEND broken "${source}: ${layer}/ may not include ${target}/: ${line}")
                endif()
            elseif(line MATCHES "#[ \t]*include[ \t]+<Q" AND NOT layer STREQUAL "engine"
                   AND NOT source IN_LIST qt_allowed_files)
                list(APPEND broken "${source}: only the engine and the mains include Qt: ${line}")
            endif()
        endforeach()
    endforeach()
endforeach()

if(broken)
    list(JOIN broken "\n" report)
    message(FATAL_ERROR "Includes that cross the layers:\n${report}")
endif()
