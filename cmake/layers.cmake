# The libraries stand in layers, each reading only those below it:
#   chess <- core <- assets <- screens <- scene <- app
# A folder is a layer (app/core holds the core records). A lower layer never includes or links
# an upper one, and nothing calls upward: the application advances the game and then draws it.
#
# Included from the project, this checks the link graph at configure time and registers the
# test `library_layers`; run with `cmake -P`, it checks every source file's includes.

set(KAVRIN_LAYERS chess core assets screens scene app)

# The layer of a header or source path relative to the project root; empty for paths that
# belong to no library (tests, tools, system headers).
function(kavrin_layer_of path out)
    set(layer "")
    if(path MATCHES "^app/core/")
        set(layer core)
    elseif(path MATCHES "^(chess|assets|screens|scene|app)/")
        set(layer ${CMAKE_MATCH_1})
    endif()
    set(${out} ${layer} PARENT_SCOPE)
endfunction()

if(CMAKE_SCRIPT_MODE_FILE)
    set(faults "")
    file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
         ${SOURCE_DIR}/app/*.cpp ${SOURCE_DIR}/app/*.h ${SOURCE_DIR}/chess/*.cpp
         ${SOURCE_DIR}/chess/*.h ${SOURCE_DIR}/assets/*.cpp ${SOURCE_DIR}/assets/*.h
         ${SOURCE_DIR}/screens/*.cpp ${SOURCE_DIR}/screens/*.h ${SOURCE_DIR}/scene/*.cpp
         ${SOURCE_DIR}/scene/*.h)
    foreach(source ${sources})
        kavrin_layer_of(${source} own)
        list(FIND KAVRIN_LAYERS ${own} ownRank)
        file(STRINGS ${SOURCE_DIR}/${source} includes REGEX "^#include \"")
        foreach(line ${includes})
            string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
            kavrin_layer_of(${header} used)
            if(used STREQUAL "")
                continue()
            endif()
            list(FIND KAVRIN_LAYERS ${used} usedRank)
            if(usedRank GREATER ownRank)
                list(APPEND faults "${source} (${own}) includes ${header} (${used})")
            endif()
        endforeach()
    endforeach()
    if(faults)
        list(JOIN faults "\n  " text)
        message(FATAL_ERROR "A library reaches a layer above it:\n  ${text}")
    endif()
    list(LENGTH sources count)
    message(STATUS "${count} files keep to their layers")
    return()
endif()

# Every kavrin_* library links only libraries of its own layer or below.
foreach(lower ${KAVRIN_LAYERS})
    list(FIND KAVRIN_LAYERS ${lower} lowerRank)
    get_target_property(links kavrin_${lower} LINK_LIBRARIES)
    foreach(link ${links})
        if(link MATCHES "^kavrin_(.+)$")
            list(FIND KAVRIN_LAYERS ${CMAKE_MATCH_1} linkRank)
            if(linkRank GREATER_EQUAL lowerRank)
                message(FATAL_ERROR "kavrin_${lower} links ${link}, which is not below it")
            endif()
        endif()
    endforeach()
endforeach()

add_test(NAME library_layers
         COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${PROJECT_SOURCE_DIR}
                 -P ${PROJECT_SOURCE_DIR}/cmake/layers.cmake)
set_tests_properties(library_layers PROPERTIES LABELS unit)
