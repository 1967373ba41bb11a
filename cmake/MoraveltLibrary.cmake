# SPDX-License-Identifier: MIT
#
# moravelt_add_library(NAME SOURCES ... [DEPENDS ...] [QT ...])
#
# One folder, one library. Its headers are reached as "NAME/header.h" through an include root
# of its own in the build tree, which holds nothing but a link to the folder. A library sees
# only its own root and those of the libraries it links, so an include of a layer above (or
# beside) it does not compile; tests/layering/checklayers.py guards what the roots cannot, such
# as relative paths.
function(moravelt_add_library name)
    cmake_parse_arguments(ARG "" "" "SOURCES;DEPENDS;QT" ${ARGN})
    set(target moravelt_${name})
    add_library(${target} STATIC ${ARG_SOURCES})
    set(root ${PROJECT_BINARY_DIR}/include/${name})
    file(MAKE_DIRECTORY ${root})
    file(CREATE_LINK ${CMAKE_CURRENT_SOURCE_DIR} ${root}/${name} SYMBOLIC)
    target_include_directories(${target} PUBLIC ${root})
    list(TRANSFORM ARG_QT PREPEND Qt6::)
    target_link_libraries(${target} PUBLIC ${ARG_DEPENDS} ${ARG_QT})
    moravelt_autogen_follows_sources(${target})
endfunction()
