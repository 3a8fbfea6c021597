# SPDX-License-Identifier: GPL-3.0-or-later
# mfb_library(NAME SOURCES file... [USES lib...] [LINKS target...] [NO_MUTUAL_INCLUDES]
#             [TOP_HEADER header TOP_USERS file...])
#
# One library per folder of the core and the front ends. USES names the project's own libraries
# (by folder) that this one may use; they are linked, and every include of a project header from a
# folder outside that list fails the build. Inside the folder, with NO_MUTUAL_INCLUDES two classes
# that include each other fail it too, and so does an include of TOP_HEADER from any file but its
# own source and TOP_USERS. LINKS adds outside targets (Qt, Threads). Sources are
# kept as absolute paths so that another target (the instrumented copies of the fuzz build) can
# compile them again.
function(mfb_library folder)
    cmake_parse_arguments(PARSE_ARGV 1 ARG "NO_MUTUAL_INCLUDES" "TOP_HEADER" "SOURCES;USES;LINKS;TOP_USERS")
    set(name mfb_${folder})
    list(TRANSFORM ARG_SOURCES PREPEND ${CMAKE_CURRENT_SOURCE_DIR}/)
    add_library(${name} STATIC ${ARG_SOURCES})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    set(uses)
    foreach(used ${ARG_USES})
        list(APPEND uses mfb_${used})
    endforeach()
    target_link_libraries(${name} PUBLIC mfb_warnings ${uses} ${ARG_LINKS})
    set_property(TARGET ${name} PROPERTY MFB_FOLDER ${folder})
    set_property(TARGET ${name} PROPERTY MFB_USES ${ARG_USES})

    add_custom_target(${name}_layering
        COMMAND ${CMAKE_COMMAND} -DFOLDER=${CMAKE_CURRENT_SOURCE_DIR} -DOWN=${folder}
                "-DALLOWED=${ARG_USES}" "-DTOP_HEADER=${ARG_TOP_HEADER}"
                "-DTOP_USERS=${ARG_TOP_USERS}" -DNO_MUTUAL=${ARG_NO_MUTUAL_INCLUDES} -P ${PROJECT_SOURCE_DIR}/cmake/CheckIncludes.cmake
        COMMENT "Checking what ${folder}/ includes"
        VERBATIM)
    add_dependencies(${name} ${name}_layering)
endfunction()
