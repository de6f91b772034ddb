# Adds every subfolder of the calling folder that holds a CMakeLists.txt. Each area keeps
# its tests or benchmarks in a folder of its own; all but the link's and the simulator's
# need Qt, so they are left out when Qt is not there.
function(korvex_add_area_folders)
    file(GLOB dirs LIST_DIRECTORIES true CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*)
    foreach(dir ${dirs})
        get_filename_component(area ${dir} NAME)
        if(NOT EXISTS ${dir}/CMakeLists.txt)
            continue()
        endif()
        if(area STREQUAL "link" OR area STREQUAL "sim" OR KORVEX_WITH_QT)
            add_subdirectory(${area})
        endif()
    endforeach()
endfunction()
