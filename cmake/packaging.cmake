# Installation and the Debian package.
#
# `cmake --install` puts bin/sito and share/man/man1/sito.1 under the prefix.
# The Debian package holds the same program with the manual page compressed
# and the Debian copyright and changelog files, as Debian policy wants them.

include(GNUInstallDirs)

install(TARGETS sito RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT program)
install(FILES doc/sito.1 DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT manual)

# Compressed files for the package, reproducible (no name or time stamp).
find_program(GZIP gzip REQUIRED)
set(sito_gz_files "")
foreach(pair "doc/sito.1=sito.1.gz" "packaging/debian/changelog=changelog.gz")
    string(REPLACE "=" ";" pair "${pair}")
    list(GET pair 0 source)
    list(GET pair 1 target)
    add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/${target}
        COMMAND ${GZIP} -9n -c ${CMAKE_SOURCE_DIR}/${source} > ${CMAKE_BINARY_DIR}/${target}
        DEPENDS ${CMAKE_SOURCE_DIR}/${source} VERBATIM)
    list(APPEND sito_gz_files ${CMAKE_BINARY_DIR}/${target})
endforeach()
add_custom_target(compressed_docs ALL DEPENDS ${sito_gz_files})

install(FILES ${CMAKE_BINARY_DIR}/sito.1.gz
    DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT debian EXCLUDE_FROM_ALL)
install(FILES ${CMAKE_BINARY_DIR}/changelog.gz packaging/debian/copyright
    DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT debian EXCLUDE_FROM_ALL)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME sito)
set(CPACK_PACKAGE_VENDOR "sito developers")
set(CPACK_PACKAGE_CONTACT "sito developers <sito@localhost.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "lists the primes up to a bound, asked for in Polish")
set(CPACK_PACKAGE_DESCRIPTION
    "sito asks, in Polish, for a bound and lists every prime from 2 up to it,\n\
one per line, found with the Sieve of Eratosthenes over one bit per number.\n\
Bounds up to 2147483647 are handled; a larger bound, too little memory and\n\
a failed write are reported on standard error with exit status 1.")
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# One package of the program, the compressed page and the Debian files.
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set(CPACK_COMPONENTS_ALL program debian)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION math)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
