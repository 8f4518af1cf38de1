# SPDX-License-Identifier: MIT
# The Debian package: `cpack -G DEB` in a build folder, after building.

set(CPACK_PACKAGE_NAME umbralux)
set(CPACK_PACKAGE_VENDOR "The Umbralux developers")
set(CPACK_PACKAGE_CONTACT ${UMBRALUX_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "cover the screen with one colour until it is dismissed")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${PROJECT_HOMEPAGE_URL})
# The libraries the program links come from dpkg-shlibdeps; Qt's X11 and Wayland platform plugins are
# loaded at run time, so their package is named here.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Qt's own translations: the standard buttons and the usage lines in the user's language.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils, qt6-translations-l10n")
# CPack puts the summary above this long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Umbralux covers the whole screen with one flat colour, black unless you pick
another, and keeps it there until you dismiss it in the way you chose: any
key, the ESC key, a mouse click, or typing a password. The mouse pointer is
hidden meanwhile, and the computer can be kept from sleeping or starting its
screen saver. Use it as a privacy curtain or as a dark screen that stays dark.")

include(CPack)
