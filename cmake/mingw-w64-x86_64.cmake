# SPDX-License-Identifier: MIT
# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (POSIX threads, for std::thread and friends),
# against the Qt that scripts/build-qt-windows.sh builds (CMAKE_PREFIX_PATH or UMBRALUX_QT_WINDOWS), with
# the host's Qt tools (QT_HOST_PATH=/usr). Tests run under Wine through scripts/wine-run.sh.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(UMBRALUX_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${UMBRALUX_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${UMBRALUX_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${UMBRALUX_MINGW_TRIPLET}-windres)

# Libraries, headers and packages come from the MinGW sysroot and the Windows Qt only; programs
# (moc, rcc, uic, ...) from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${UMBRALUX_MINGW_TRIPLET})
if(DEFINED ENV{UMBRALUX_QT_WINDOWS} AND NOT "$ENV{UMBRALUX_QT_WINDOWS}" STREQUAL "")
    list(APPEND CMAKE_PREFIX_PATH "$ENV{UMBRALUX_QT_WINDOWS}")
endif()
# Prefixes outside the sysroot are searched only when they are roots themselves.
list(APPEND CMAKE_FIND_ROOT_PATH ${CMAKE_PREFIX_PATH})
list(REMOVE_DUPLICATES CMAKE_FIND_ROOT_PATH)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Where the Windows Qt's DLLs are, for the emulator: the first prefix that has Qt6Core.dll.
set(UMBRALUX_QT_WINDOWS_BIN "")
foreach(prefix IN LISTS CMAKE_PREFIX_PATH)
    if(EXISTS "${prefix}/bin/Qt6Core.dll")
        set(UMBRALUX_QT_WINDOWS_BIN "${prefix}/bin")
        break()
    endif()
endforeach()

# Tests (and any build step that runs a built program) go through Wine, with a prefix of the build's own.
get_filename_component(UMBRALUX_WINE_RUN "${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh" ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR "${UMBRALUX_WINE_RUN};--wineprefix;${CMAKE_BINARY_DIR}/wineprefix")
if(UMBRALUX_QT_WINDOWS_BIN)
    list(APPEND CMAKE_CROSSCOMPILING_EMULATOR --qt-bin "${UMBRALUX_QT_WINDOWS_BIN}")
endif()
