# SPDX-License-Identifier: MIT
# The Debian package, made by "cpack -G DEB" in a Release build (see scripts/package).
set(CPACK_PACKAGE_NAME moravelt)
set(CPACK_PACKAGE_VENDOR "Moravelt developers")
set(CPACK_PACKAGE_CONTACT "Moravelt developers <moravelt@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "travel quiz and route-planning game of Japan")
set(CPACK_PACKAGE_DESCRIPTION
    "A single-player desktop game of Japan with a Japanese interface: drag the map, read the
towns' roads and quizzes, and let the route search plan a journey by road distance, which
becomes a navigation list you can copy. Includes a sample world covering all 47 prefectures
and the map makers' tool moravelt-map.")
set(CPACK_PACKAGE_HOMEPAGE_URL ${MORAVELT_HOMEPAGE})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the executables; the rest is loaded at run time: the SQLite driver
# opens the map database, the IPA font draws the Japanese texts.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libqt6sql6-sqlite, fonts-ipafont-gothic")
set(CPACK_STRIP_FILES ON)
include(CPack)
