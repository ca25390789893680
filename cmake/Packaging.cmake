# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# The Debian package, made by `cpack -G DEB` in a build folder (scripts/package.sh). Its
# library dependencies are read from what the program links (dpkg-shlibdeps), so a Qt module
# the program starts to use reaches the package by itself.
set(CPACK_PACKAGE_NAME ${PROJECT_NAME})
set(CPACK_PACKAGE_VENDOR "The Ledgerly team")
set(CPACK_PACKAGE_CONTACT "Ledgerly developers <ledgerly@caldmoor.net>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY ${PROJECT_DESCRIPTION})
# Lines of at most 80 columns, as Debian's tools show them.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
    "Ledgerly keeps the price that each of Caldmoor's 19 trading posts pays for"
    "each of the 88 commodities. It captures one post's prices by asking the game's"
    "shopkeeper for every price, ranks hauls between posts by payoff and by payoff"
    "per move, and copies one-line summaries to the clipboard.")
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
# A companion program for a game, not a game: Debian keeps games in /usr/games.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The libraries above are added to this. Qt's X11 platform is otherwise only recommended by Qt's
# GUI library, so an installation without recommended packages could not open a window.
set(CPACK_DEBIAN_PACKAGE_DEPENDS qt6-qpa-plugins)
# Qt speaks Wayland only with it; without, it falls back to XWayland on Wayland desktops.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
# cpack installs what the build folder holds; scripts/package.sh builds the program first
# instead of everything with its tests.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
include(CPack)
