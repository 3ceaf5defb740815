# The hardening Debian's packages get from dpkg-buildflags, in every build of the project's
# own: a stack protector, checked string and memory calls where the compiler optimises,
# format strings checked as strictly as the compiler can, and position-independent programs
# whose relocations are made read-only once loaded.
include(CheckPIESupported)
check_pie_supported(LANGUAGES C CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

add_compile_options(-fstack-protector-strong -Wformat -Wformat=2)
# The sanitizers watch memory calls themselves, and _FORTIFY_SOURCE needs optimisation.
if(NOT TAMRIVO_SANITIZE)
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE>
                        $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
endif()
add_link_options(LINKER:-z,relro LINKER:-z,now)
