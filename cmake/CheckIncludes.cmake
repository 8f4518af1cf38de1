# SPDX-License-Identifier: MIT
# cmake -DROOT=<src> [-DFOLDER=<folder of ROOT>] [-DSTAMP=<file>] -P CheckIncludes.cmake
#
# Refuses every include in the C and C++ files of ROOT/FOLDER (all of ROOT without FOLDER), subfolders too,
# that the layer guard cannot see through (cmake/Layers.cmake): a path with "..", an absolute path, or a
# computed include (#include MACRO). Names each with its file and line, and ends with an error; touches
# STAMP when nothing is found.

if(NOT ROOT)
    message(FATAL_ERROR "CheckIncludes.cmake: ROOT is not set")
endif()
set(top ${ROOT})
if(FOLDER)
    set(top ${ROOT}/${FOLDER})
endif()

file(GLOB_RECURSE files ${top}/*.h ${top}/*.hpp ${top}/*.c ${top}/*.cpp)
list(SORT files)
set(refused 0)
foreach(file IN LISTS files)
    file(READ ${file} text)
    # One element per line; a backslash, bracket or semicolon in the code must not split or join lines.
    # A backslash becomes a slash, so that "..\" and "C:\" are refused as their forward forms are.
    string(REPLACE "\\" "/" text "${text}")
    string(REPLACE "[" "(" text "${text}")
    string(REPLACE "]" ")" text "${text}")
    string(REPLACE ";" "," text "${text}")
    string(REPLACE "\n" ";" lines "${text}")
    set(number 0)
    foreach(line IN LISTS lines)
        math(EXPR number "${number} + 1")
        if(NOT line MATCHES "^[ \t]*#[ \t]*include(_next)?[ \t]*(.*)$")
            continue()
        endif()
        set(target "${CMAKE_MATCH_2}")
        set(why "")
        if(NOT target MATCHES "^[\"<]([^\">]*)[\">]")
            set(why "a computed include, which the layer guard cannot read")
        elseif(CMAKE_MATCH_1 MATCHES "\\.\\.")
            set(why "a path that climbs out of its folder")
        elseif(target MATCHES "^.(/|[A-Za-z]:)")
            set(why "an absolute path")
        endif()
        if(why)
            file(RELATIVE_PATH shown ${ROOT} ${file})
            string(STRIP "${line}" line)
            message(SEND_ERROR "${shown}:${number}: ${line}: ${why}. Include a header by its path "
                "from src/ (\"blank/form2.h\") or by its name beside the includer (\"form2.h\"), so that the "
                "layer guard sees which layer it belongs to (docs/architecture.md: who may include whom).")
            math(EXPR refused "${refused} + 1")
        endif()
    endforeach()
endforeach()

if(refused)
    message(FATAL_ERROR "${refused} include(s) refused")
endif()
if(STAMP)
    file(TOUCH ${STAMP})
endif()
