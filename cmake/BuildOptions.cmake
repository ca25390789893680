# SPDX-FileCopyrightText: 2026 The Ledgerly developers
# SPDX-License-Identifier: GPL-3.0-or-later

# Warnings and sanitizers, in one place for every target of the project.
option(LEDGERLY_SANITIZE "Build everything with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)

add_compile_options(-Wall -Wextra -Werror)

if(LEDGERLY_SANITIZE)
    add_compile_options(-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=address,undefined -fno-sanitize-recover=all)
endif()

find_program(LEDGERLY_CCACHE ccache)
if(LEDGERLY_CCACHE)
    set(CMAKE_CXX_COMPILER_LAUNCHER ${LEDGERLY_CCACHE})
endif()
