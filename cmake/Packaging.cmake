# What `cmake --install` puts under the prefix (the two programs and their manual pages, nothing
# else) and the Debian package that CPack makes of it (`cpack -G DEB`, or the `package` target).
include(GNUInstallDirs)

install(FILES ${CMAKE_SOURCE_DIR}/man/uninst.1 ${CMAKE_SOURCE_DIR}/man/uninst-machine.1
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME uninst)
set(CPACK_PACKAGE_VENDOR "uninst developers")
set(CPACK_PACKAGE_CONTACT "uninst developers <uninst@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "uninstaller of the Kalvora TK7/TK5 capture-board package")
string(CONCAT CPACK_DEBIAN_PACKAGE_DESCRIPTION
       "The dialog program that removes the Kalvora TK7/TK5 capture-board package (driver,\n"
       "registry entries, files, Start-menu shortcuts, INI entries, INF files) from a machine: a\n"
       "directory that stands in for a Windows 9x PC. It runs in the terminal, from a script or\n"
       "unattended. uninst-machine makes and inspects such machines, a demo machine included.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
# The file name carries the version and the architecture: uninst_1.0.0_amd64.deb.
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
# The shared libraries the programs link (ncursesw, SQLite, the C++ runtime) become the
# package's dependencies, with the versions this build needs.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)
include(CPack)
