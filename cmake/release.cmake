# What a user gets besides the binaries: bash completion for both tools, the
# command reference, the documentation, and the Debian package made from the
# same install rules. Included by the root CMakeLists after every target.

set(TARVEX_GENERATE ${PROJECT_SOURCE_DIR}/cmake/generate.cmake)

# --- Bash completion: tarvexcli's from the live tree, tarvex-host's by hand.
set(TARVEX_COMPLETION_DIR ${CMAKE_BINARY_DIR}/${CMAKE_INSTALL_DATADIR}/bash-completion/completions)
add_custom_command(
  OUTPUT ${TARVEX_COMPLETION_DIR}/tarvexcli
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:tarvexcli>
          -DOPTION=--generate-completion -DFORMAT=bash
          -DOUTPUT=${TARVEX_COMPLETION_DIR}/tarvexcli -P ${TARVEX_GENERATE}
  DEPENDS tarvexcli core-storage-internal ${TARVEX_GENERATE}
  COMMENT "Generating the bash completion of tarvexcli from its command tree"
  VERBATIM)
configure_file(${PROJECT_SOURCE_DIR}/cmake/completion/tarvex-host.bash
               ${TARVEX_COMPLETION_DIR}/tarvex-host COPYONLY)
add_custom_target(completion ALL DEPENDS ${TARVEX_COMPLETION_DIR}/tarvexcli)
install(FILES ${TARVEX_COMPLETION_DIR}/tarvexcli ${TARVEX_COMPLETION_DIR}/tarvex-host
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

# --- docs/commands.md: generated, checked in. `--target reference` refreshes
# it; the transcript cram.reference (tests/cram) fails while it is stale.
set(TARVEX_REFERENCE ${PROJECT_SOURCE_DIR}/docs/commands.md)
add_custom_target(reference
  COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:tarvexcli>
          -DOPTION=--generate-reference -DFORMAT=markdown
          -DOUTPUT=${TARVEX_REFERENCE} -P ${TARVEX_GENERATE}
  COMMENT "Generating docs/commands.md from the command tree"
  VERBATIM)
add_dependencies(reference tarvexcli core-storage-internal)

# --- Manual pages tarvexcli(1) and tarvex-host(1), each written by its
# program (tarvexcli's from the live command tree, as docs/commands.md),
# compressed as Debian wants them.
find_program(TARVEX_GZIP gzip REQUIRED)
set(TARVEX_MAN_DIR ${CMAKE_BINARY_DIR}/${CMAKE_INSTALL_MANDIR}/man1)
set(TARVEX_MAN_PAGES)
foreach(program tarvexcli tarvex-host)
  set(page ${TARVEX_MAN_DIR}/${program}.1)
  add_custom_command(
    OUTPUT ${page} ${page}.gz
    COMMAND ${CMAKE_COMMAND} -DPROGRAM=$<TARGET_FILE:${program}>
            -DOPTION=--generate-reference -DFORMAT=man -DOUTPUT=${page} -P ${TARVEX_GENERATE}
    COMMAND ${TARVEX_GZIP} -9nf -k ${page}
    DEPENDS ${program} core-storage-internal ${TARVEX_GENERATE}
    COMMENT "Generating the manual page ${program}(1)"
    VERBATIM)
  list(APPEND TARVEX_MAN_PAGES ${page}.gz)
endforeach()
add_custom_target(manpages ALL DEPENDS ${TARVEX_MAN_PAGES})
install(FILES ${TARVEX_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

# --- Documentation, the license in Debian's machine-readable form, and the
# changelog (compressed, without a time stamp, as Debian wants it).
install(FILES ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/cmake/debian/copyright
        DESTINATION ${CMAKE_INSTALL_DOCDIR})
set(TARVEX_CHANGELOG ${PROJECT_SOURCE_DIR}/cmake/debian/changelog)
file(STRINGS ${TARVEX_CHANGELOG} TARVEX_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT TARVEX_CHANGELOG_TOP MATCHES "^${PROJECT_NAME} \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "cmake/debian/changelog: the newest entry is not version ${PROJECT_VERSION}")
endif()
add_custom_command(
  OUTPUT ${CMAKE_BINARY_DIR}/changelog.gz
  COMMAND ${TARVEX_GZIP} -9nc ${TARVEX_CHANGELOG} > ${CMAKE_BINARY_DIR}/changelog.gz
  DEPENDS ${TARVEX_CHANGELOG}
  COMMENT "Compressing the changelog")
add_custom_target(changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/changelog.gz)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz DESTINATION ${CMAKE_INSTALL_DOCDIR})
install(DIRECTORY ${PROJECT_SOURCE_DIR}/docs/ DESTINATION ${CMAKE_INSTALL_DOCDIR}/docs
        FILES_MATCHING PATTERN "*.md")

# --- Debian package: `cpack --config BUILD/CPackConfig.cmake` writes it to
# BUILD/package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGE_CONTACT "libcore-storage-internal developers <storage-dev@example.test>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Storage commands plug-in with a stand-in command shell and simulated host")
# Debian wants the lines of the long description under 80 characters.
set(CPACK_PACKAGE_DESCRIPTION
    "The storage plug-in library (datastores, NFS v3 and v4.1, Kovra), the
tarvexcli shell that loads it and runs one command at a time, and a
simulated host kept in an SQLite file, with its tool tarvex-host to make,
dump, restart and break it. Meant for trying and testing the commands
away from a real host.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION admin)
# Depends, with versions, from what the binaries link (dpkg-shlibdeps),
# which finds our private libraries where the package puts them.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${TARVEX_PKGLIB_DIR})
include(CPack)
