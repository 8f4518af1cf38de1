# SPDX-License-Identifier: MIT
# The folders of src/ as layers: each folder is one static library that names the layers it depends on, and
# its code sees the headers of those layers only. An include of any other layer's header stops the build
# with a message that names both layers, instead of linking code that runs back up the graph.

set_property(GLOBAL PROPERTY UMBRALUX_LAYERS "")

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

# Call once every layer is declared. For each layer, every header of a layer it does not depend on gets a
# stand-in that is found before the real one and stops the compiler with the reason.
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
            file(GLOB headers RELATIVE ${source_root} CONFIGURE_DEPENDS ${source_root}/${other_folder}/*.h)
            foreach(header IN LISTS headers)
                file(WRITE ${stand_ins}/${header}
                    "#error \"${folder}/ may not include ${header}: ${layer} does not depend on ${other} "
                    "(docs/architecture.md: who may include whom)\"\n")
            endforeach()
        endforeach()
        target_include_directories(${layer} BEFORE PRIVATE ${stand_ins})
    endforeach()
endfunction()
