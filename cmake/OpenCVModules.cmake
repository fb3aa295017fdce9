# Debian's per-module OpenCV packages (libopencv-imgproc-dev and friends) ship headers and
# libraries but no CMake package file, so the modules are found by hand and exposed as
# imported targets opencv::<module>.
find_path(OPENCV_INCLUDE_DIR opencv2/core.hpp PATH_SUFFIXES opencv4 REQUIRED)
foreach(module IN ITEMS core imgproc imgcodecs)
    if(NOT TARGET opencv::${module})
        find_library(OPENCV_${module}_LIBRARY opencv_${module})
        if(OPENCV_${module}_LIBRARY)
            add_library(opencv::${module} UNKNOWN IMPORTED)
            set_target_properties(opencv::${module} PROPERTIES
                IMPORTED_LOCATION ${OPENCV_${module}_LIBRARY}
                INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${OPENCV_INCLUDE_DIR}
                INTERFACE_INCLUDE_DIRECTORIES ${OPENCV_INCLUDE_DIR})
        endif()
    endif()
endforeach()
foreach(module IN ITEMS core imgproc)
    if(NOT TARGET opencv::${module})
        message(FATAL_ERROR "OpenCV module ${module} not found: run scripts/setup")
    endif()
endforeach()
