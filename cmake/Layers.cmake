# SPDX-License-Identifier: MIT
# The folders of src/ as layers: each folder is one static library that names the layers it depends on, and
# its code sees the headers of those layers only. An include of any other layer's header stops the build
# with a message that names both layers, instead of linking code that runs back up the graph.
#
# Two rules together make that hold:
#  - every header of a layer that a layer may not use has a stand-in that is found before the real one and
#    stops the compiler with the reason (umbralux_check_layers);
#  - every include names its header by its path from src/ ("blank/form2.h") or from the includer's own
#    folder ("form2.h"), never with ".." and never as an absolute path (CheckIncludes.cmake, run on each
#    layer's folder at every build). Without it "../blank/form2.h" from app/ would be found next to the
#    includer before any include folder is searched, and "app/../blank/form2.h" through src/ itself, and no
#    arrangement of include folders can put a stand-in in front of either: the compiler always looks in
#    the includer's own folder first, and a path that climbs out of a folder reaches the real header from
#    any folder that leads to it.

set_property(GLOBAL PROPERTY UMBRALUX_LAYERS "")
set(UMBRALUX_CHECK_INCLUDES ${CMAKE_CURRENT_LIST_DIR}/CheckIncludes.cmake)

# The C and C++ files of a layer's folder and of the folders in it.
set(UMBRALUX_LAYER_CODE *.h *.hpp *.c *.cpp)

# umbralux_layer(<target> <folder> SOURCES <file>... [DEPENDS <layer>...] [LIBRARIES <library>...])
# One folder of src/ as a static library. DEPENDS are the layers it may use (and so include); LIBRARIES
# what it links from outside the project.
function(umbralux_layer target folder)
    cmake_parse_arguments(PARSE_ARGV 2 ARG "" "" "SOURCES;DEPENDS;LIBRARIES")
    add_library(${target} STATIC ${ARG_SOURCES})
    target_link_libraries(${target} PUBLIC ${ARG_DEPENDS} ${ARG_LIBRARIES})
    set_target_properties(${target} PROPERTIES UMBRALUX_FOLDER ${folder} UMBRALUX_DEPENDS "${ARG_DEPENDS}")
    set_property(GLOBAL APPEND PROPERTY UMBRALUX_LAYERS ${target})
endfunction()

# The layers a layer may use: itself and what it depends on, directly or through another layer.
function(umbralux_layer_closure target out)
    set(seen ${target})
    set(queue ${target})
    while(queue)
        list(POP_FRONT queue current)
        get_target_property(depends ${current} UMBRALUX_DEPENDS)
        foreach(dependency IN LISTS depends)
            if(NOT dependency IN_LIST seen)
                list(APPEND seen ${dependency})
                list(APPEND queue ${dependency})
            endif()
        endforeach()
    endwhile()
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

# Call once every layer is declared, in the folder that declares them. For each layer, every header of a
# layer it does not depend on, in that layer's folder or deeper, gets a stand-in that is found before the
# real one and stops the compiler with the reason; and the layer's own files are checked for includes that
# would pass the stand-ins by, before any of them is compiled.
function(umbralux_check_layers source_root)
    get_property(layers GLOBAL PROPERTY UMBRALUX_LAYERS)
    foreach(layer IN LISTS layers)
        umbralux_layer_closure(${layer} allowed)
        get_target_property(folder ${layer} UMBRALUX_FOLDER)
        set(stand_ins ${CMAKE_BINARY_DIR}/layer-guards/${layer})
        file(REMOVE_RECURSE ${stand_ins})
        foreach(other IN LISTS layers)
            if(other IN_LIST allowed)
                continue()
            endif()
            get_target_property(other_folder ${other} UMBRALUX_FOLDER)
            file(GLOB_RECURSE headers RELATIVE ${source_root} CONFIGURE_DEPENDS
                ${source_root}/${other_folder}/*.h ${source_root}/${other_folder}/*.hpp)
            foreach(header IN LISTS headers)
                file(WRITE ${stand_ins}/${header}
                    "#error \"${folder}/ may not include ${header}: ${layer} does not depend on ${other} "
                    "(docs/architecture.md: who may include whom)\"\n")
            endforeach()
        endforeach()
        target_include_directories(${layer} BEFORE PRIVATE ${stand_ins})

        # Run again whenever a file of the folder changes; a stamp that is a source of the layer makes its
        # compilation wait for the check.
        list(TRANSFORM UMBRALUX_LAYER_CODE PREPEND ${source_root}/${folder}/ OUTPUT_VARIABLE patterns)
        file(GLOB_RECURSE code CONFIGURE_DEPENDS ${patterns})
        set(stamp ${CMAKE_BINARY_DIR}/layer-guards/${layer}.includes-checked)
        add_custom_command(OUTPUT ${stamp}
            COMMAND ${CMAKE_COMMAND} -DROOT=${source_root} -DFOLDER=${folder} -DSTAMP=${stamp}
                -P ${UMBRALUX_CHECK_INCLUDES}
            DEPENDS ${code} ${UMBRALUX_CHECK_INCLUDES}
            COMMENT "Checking the includes of ${folder}/"
            VERBATIM)
        target_sources(${layer} PRIVATE ${stamp})
    endforeach()
endfunction()
