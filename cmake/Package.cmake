# `cpack` (and `make package`) builds a Debian package of what the install
# rules put under /usr.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvex)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arcade shooter against waves of marching aliens")
# Lines as they show in the package's description, each short enough for a
# terminal.
string(CONCAT CPACK_PACKAGE_DESCRIPTION
    "Quorvex is a single-screen arcade shooter. The player's ship slides\n"
    "along the bottom of the screen and shoots up at waves of 48 marching\n"
    "aliens that drop bombs on it. Every alien is worth the wave number\n"
    "times the lives left, and every 25th wave gives an extra life. The ten\n"
    "best scores are kept between runs, in each player's own data folder.")

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Quorvex team <team@quorvex.example>")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://quorvex.example/)
# The libraries the game needs are found by dpkg-shlibdeps.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

include(CPack)
