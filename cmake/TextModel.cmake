# Texts are GBK bytes: narrow literals in the UTF-8 sources are compiled to GBK.
# GB18030 gives the same bytes for every GBK character and, unlike GBK, can encode
# every character libstdc++'s own headers carry (a "µs" in <chrono>).
set(TAMRIVO_EXEC_CHARSET GB18030 CACHE STRING "Execution character set of narrow literals")
# The fuzz build uses clang, which only knows UTF-8 literals; its Chinese literals stay UTF-8.
if(NOT (TAMRIVO_FUZZ AND CMAKE_CXX_COMPILER_ID MATCHES "Clang"))
    add_compile_options($<$<COMPILE_LANGUAGE:CXX>:-fexec-charset=${TAMRIVO_EXEC_CHARSET}>)
endif()
