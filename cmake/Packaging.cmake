# The Debian package: `cpack -G DEB` in the build tree (see scripts/package).

set(CPACK_PACKAGE_NAME "ad9851-calc")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGE_VENDOR "ad9851-calc developers")
# A placeholder until the project has a public address; lintian is told so
# in tests/lintian-accepted-tags.
set(CPACK_PACKAGE_CONTACT "ad9851-calc developers <ad9851-calc@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "AD9851 DDS frequency tuning word calculator")
set(CPACK_PACKAGE_DESCRIPTION
"A small calculator for people who program the AD9851 (and AD9850) direct
digital synthesizer. It turns an output frequency, a crystal frequency and a
data mode into the chip's 32-bit frequency tuning word, written as one line
of C (for example {0x1A,0x76,0x05,0x00},//10KHz) ready to paste into
firmware.
.
It comes as a window with a Simplified Chinese interface (ad9851-calc) and as
a command-line tool for scripts and tables (ad9851-word), which also gives
the whole 40-bit load, exact clocks with ppm corrections, sweeps, C arrays,
CSV and the decoding of words back into frequencies.")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)

# Debian revision 1 of the upstream version: changelog.Debian.gz says what
# the packaging changed.
set(CPACK_DEBIAN_PACKAGE_RELEASE 1)
set(CPACK_DEBIAN_PACKAGE_SECTION "electronics")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
# Qt loads its platform plugins at run time, so the libraries do not name
# them; without a CJK font every caption is a box.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, fonts-arphic-uming | fonts-noto-cjk | fonts-wqy-microhei")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-translations-l10n")

# What Debian expects beside the programs.
set(doc ${CMAKE_INSTALL_DATADIR}/doc/ad9851-calc)
set(changelog ${PROJECT_BINARY_DIR}/changelog.Debian.gz)
add_custom_command(OUTPUT ${changelog}
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${PROJECT_SOURCE_DIR}/packaging/debian/changelog > ${changelog}
    DEPENDS ${PROJECT_SOURCE_DIR}/packaging/debian/changelog VERBATIM)
add_custom_target(debian_changelog ALL DEPENDS ${changelog})
install(FILES ${PROJECT_SOURCE_DIR}/packaging/debian/copyright ${changelog} ${PROJECT_SOURCE_DIR}/README.md
        DESTINATION ${doc})

set(CPACK_GENERATOR "DEB")
set(CPACK_OUTPUT_FILE_PREFIX "${PROJECT_BINARY_DIR}/packages")
include(CPack)
