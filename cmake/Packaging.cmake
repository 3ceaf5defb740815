# Install rules and the Debian package: the pristine program files in TAMRIVO_PROGRAM_FILES
# (/opt/tamrivo), the launchers and the release tool in bin/, and the desktop entry, icons, AppStream metainfo,
# man pages and the package's documents under share/. Build the package with
# scripts/build-package.sh (cpack -G DEB in a build configured with CMAKE_INSTALL_PREFIX=/usr).

set(TAMRIVO_PACKAGE_MAINTAINER "Tamrivo developers <developers@tamrivo.org>" CACHE STRING
    "Name and address in the Debian package's Maintainer field and changelog")
set(TAMRIVO_APP_ID org.tamrivo.Tamrivo)
# The vendor's apt repository, which the package adds to apt's sources so that later
# releases come with the system's updates, and the OpenPGP key its index is signed with.
set(TAMRIVO_APT_REPOSITORY "http://${TAMRIVO_UPDATE_HOST}:81/apt" CACHE STRING
    "Address of the apt repository that tamrivo-release publish fills")
set(TAMRIVO_APT_KEYRING "${PROJECT_SOURCE_DIR}/tests/keys/archive_test_keyring.gpg" CACHE FILEPATH
    "OpenPGP public key (binary) of the apt repository, as tamrivo-release keygen exports it")
if(NOT EXISTS "${TAMRIVO_APT_KEYRING}")
    message(FATAL_ERROR "TAMRIVO_APT_KEYRING: no key file ${TAMRIVO_APT_KEYRING}")
endif()
# The package is built on the release it is for: its version and its apt suite name it.
file(STRINGS /etc/os-release os_release REGEX "^(VERSION_ID|VERSION_CODENAME)=")
string(REGEX REPLACE ".*VERSION_ID=\"?([0-9]+).*" "\\1" debian_version "${os_release}")
string(REGEX REPLACE ".*VERSION_CODENAME=([a-z]+).*" "\\1" TAMRIVO_DEBIAN_CODENAME "${os_release}")
set(TAMRIVO_PACKAGE_VERSION "${TAMRIVO_VERSION}~deb${debian_version}")
string(TIMESTAMP TAMRIVO_CHANGELOG_DATE "%a, %d %b %Y %H:%M:%S +0000" UTC)
string(TIMESTAMP TAMRIVO_RELEASE_DATE "%Y-%m-%d" UTC)
set(generated ${CMAKE_BINARY_DIR}/share)

# Program files. UpData travels inside the program.
install(TARGETS tamrivo ${TAMRIVO_RECORDS_TOOL} DESTINATION ${TAMRIVO_PROGRAM_FILES})
install(FILES ${CMAKE_BINARY_DIR}/VERSION DESTINATION ${TAMRIVO_PROGRAM_FILES})
install(TARGETS tamrivo_launcher_program tamrivo_launcher_records DESTINATION bin)
# The vendor's release tool works on folders it is given, not on a user's program folder.
install(TARGETS tamrivo-release DESTINATION bin)

# The icon at the usual sizes of the hicolor theme, drawn from the window icon's picture.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(icon_source ${PROJECT_SOURCE_DIR}/engine/artwork/window_icon.svg)
set(icons)
foreach(size 16 24 32 48 64 128 256)
    set(icon ${generated}/icons/${size}/${TAMRIVO_APP_ID}.png)
    add_custom_command(OUTPUT ${icon}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${icon} ${icon_source}
        DEPENDS ${icon_source} VERBATIM)
    list(APPEND icons ${icon})
    install(FILES ${icon} DESTINATION share/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${icon_source} DESTINATION share/icons/hicolor/scalable/apps
        RENAME ${TAMRIVO_APP_ID}.svg)

# Man pages of whichever commands have one, and the Debian changelog, compressed as Debian
# wants them (no time stamp, so the package is the same on every build).
file(GLOB man_pages CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/share/man/*.1)
configure_file(${PROJECT_SOURCE_DIR}/share/debian/changelog.in ${generated}/changelog @ONLY)
set(compressed)
foreach(file ${man_pages} ${generated}/changelog)
    get_filename_component(name ${file} NAME)
    set(gz ${generated}/compressed/${name}.gz)
    add_custom_command(OUTPUT ${gz}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/compressed
        COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" gzip ${file} ${gz}
        DEPENDS ${file} VERBATIM)
    list(APPEND compressed ${gz})
    if(file MATCHES "\\.1$")
        install(FILES ${gz} DESTINATION share/man/man1)
    endif()
endforeach()
add_custom_target(tamrivo_share_files ALL DEPENDS ${icons} ${compressed})

configure_file(${PROJECT_SOURCE_DIR}/share/linux/${TAMRIVO_APP_ID}.metainfo.xml.in
               ${generated}/${TAMRIVO_APP_ID}.metainfo.xml @ONLY)
install(FILES ${PROJECT_SOURCE_DIR}/share/linux/${TAMRIVO_APP_ID}.desktop
        DESTINATION share/applications)
install(FILES ${generated}/${TAMRIVO_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(FILES ${generated}/compressed/changelog.gz ${PROJECT_SOURCE_DIR}/share/debian/copyright
        DESTINATION share/doc/tamrivo)
install(FILES ${PROJECT_SOURCE_DIR}/share/debian/lintian-overrides
        DESTINATION share/lintian/overrides RENAME tamrivo)

# apt's source of the repository: a link in /etc/apt, not a configuration file, so that
# removing the package takes the source away with the key.
configure_file(${PROJECT_SOURCE_DIR}/share/debian/tamrivo.sources.in ${generated}/tamrivo.sources
               @ONLY)
file(MAKE_DIRECTORY ${generated}/source-link)
file(CREATE_LINK /usr/share/tamrivo/tamrivo.sources ${generated}/source-link/tamrivo.sources
     SYMBOLIC)
install(FILES ${generated}/tamrivo.sources DESTINATION share/tamrivo)
install(FILES ${generated}/source-link/tamrivo.sources DESTINATION /etc/apt/sources.list.d)
install(FILES ${TAMRIVO_APT_KEYRING} DESTINATION share/keyrings
        RENAME tamrivo-archive-keyring.gpg)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamrivo)
set(CPACK_PACKAGE_VERSION ${TAMRIVO_PACKAGE_VERSION})
set(CPACK_PACKAGE_CONTACT ${TAMRIVO_PACKAGE_MAINTAINER})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "room letting by the day for a landlord")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tamrivo keeps a register of rooms, records each check-in as a lease,\nsettles it at check-out with an amount, a date and a remark, and shows the\nsettled and unsettled totals, all in one encrypted file behind a login.\nIt tells when a new version is out, which comes with the system's updates\nfrom the vendor's apt repository that the package adds.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# What dpkg-shlibdeps cannot see: SQLCipher, bound at run time by name; libzip, for the
# updater carried inside the program (its Qt is the program's); and Qt's own Chinese texts.
# Both are named by the package that holds them on the release the build runs on (SQLCipher:
# the newest the program loads), so a build on Debian 13 asks for Debian 13's packages.
function(tamrivo_owning_package out)  # ARGN: library files, the preferred first
    foreach(file ${ARGN})
        if(EXISTS ${file})
            execute_process(COMMAND dpkg-query -S ${file} OUTPUT_VARIABLE owner
                            RESULT_VARIABLE failed OUTPUT_STRIP_TRAILING_WHITESPACE)
            if(NOT failed)
                string(REGEX REPLACE "[:,].*" "" owner "${owner}")
                set(${out} ${owner} PARENT_SCOPE)
                return()
            endif()
        endif()
    endforeach()
    message(FATAL_ERROR "No Debian package holds any of ${ARGN}")
endfunction()
set(library_folder /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE})
tamrivo_owning_package(sqlcipher_package
    ${library_folder}/libsqlcipher.so.1 ${library_folder}/libsqlcipher.so.0)
find_library(LIBZIP_FILE zip REQUIRED)
file(REAL_PATH ${LIBZIP_FILE} libzip_file)
tamrivo_owning_package(libzip_package ${libzip_file})
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${sqlcipher_package}, ${libzip_package}, qt6-translations-l10n")
# Chinese needs a font that has it, and typing it an input method's Qt 6 front end (that of
# ibus comes with Qt itself).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-noto-cjk | fonts-wqy-microhei | fonts-wqy-zenhei, fcitx5-frontend-qt6 | ibus")
# The vendor's release tool publishes with these.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "reprepro, gnupg, nginx")
include(CPack)
