# Targets of the project. Sources are picked up by folder so that a new file only needs to be
# placed in the right subsystem:
#   src/<subsystem>/*.cpp      -> lensora_core (plain C++, never links Qt)
#   src/platform/linux/*.cpp   -> lensora_linux (Linux device adapters: V4L2, udev, evdev; no Qt)
#   src/platform/*.cpp         -> lensora_platform (Qt and Linux adapters)
#   src/<subsystem>/ui/*.cpp   -> lensora_ui (widgets and dialogs)
#   tests/<subsystem>/*.cpp    -> lensora_tests; tests/<subsystem>/ui/*.cpp -> lensora_widget_tests

find_package(fmt REQUIRED)
find_package(JPEG REQUIRED)
include(${CMAKE_CURRENT_LIST_DIR}/OpenCVModules.cmake)
# Video thumbnails (first frame of a recording) and the test recordings made by the tests.
find_package(PkgConfig REQUIRED)
pkg_check_modules(LIBAV REQUIRED IMPORTED_TARGET libavformat libavcodec libswscale libavutil)
# Exports: xlsx through libxlsxwriter, zip packages through libzip, workbook XML through pugixml.
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)
pkg_check_modules(LIBZIP REQUIRED IMPORTED_TARGET libzip)
find_package(pugixml REQUIRED)

set(LENSORA_SUBSYSTEMS base imaging measure detect canvas live app capture library export)

set(core_sources "")
foreach(sub IN LISTS LENSORA_SUBSYSTEMS)
    file(GLOB sub_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${sub}/*.cpp)
    list(APPEND core_sources ${sub_sources})
endforeach()

add_library(lensora_core STATIC ${core_sources})
target_include_directories(lensora_core PUBLIC ${PROJECT_SOURCE_DIR}/src)
target_link_libraries(lensora_core PUBLIC fmt::fmt PRIVATE JPEG::JPEG opencv::core opencv::imgproc
                      PkgConfig::LIBAV PkgConfig::XLSXWRITER PkgConfig::LIBZIP pugixml::pugixml)

# The camera's Linux adapters are plain C++ so that the vivid integration test runs without Qt.
pkg_check_modules(LIBUDEV REQUIRED IMPORTED_TARGET libudev)
pkg_check_modules(LIBV4L2 REQUIRED IMPORTED_TARGET libv4l2)
pkg_check_modules(LIBEVDEV REQUIRED IMPORTED_TARGET libevdev)
file(GLOB linux_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/linux/*.cpp)
add_library(lensora_linux STATIC ${linux_sources})
target_link_libraries(lensora_linux PUBLIC lensora_core
                      PRIVATE PkgConfig::LIBUDEV PkgConfig::LIBV4L2 PkgConfig::LIBEVDEV)

if(LENSORA_BUILD_APP)
    find_package(Qt6 REQUIRED COMPONENTS Widgets Svg DBus Network Multimedia)

    file(GLOB platform_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/platform/*.cpp)
    add_library(lensora_platform STATIC ${platform_sources})
    set_target_properties(lensora_platform PROPERTIES AUTOMOC ON)
    target_link_libraries(lensora_platform PUBLIC lensora_core lensora_linux Qt6::Widgets Qt6::DBus Qt6::Network
                          PRIVATE Qt6::Multimedia)
    target_compile_definitions(lensora_platform PRIVATE
        LENSORA_SOURCE_RESOURCES="${PROJECT_SOURCE_DIR}/resources"
        LENSORA_INSTALL_DATADIR="${CMAKE_INSTALL_FULL_DATADIR}/lensora")

    set(ui_sources "")
    foreach(sub IN LISTS LENSORA_SUBSYSTEMS)
        file(GLOB sub_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/src/${sub}/ui/*.cpp)
        list(APPEND ui_sources ${sub_sources})
    endforeach()
    add_library(lensora_ui STATIC ${ui_sources})
    set_target_properties(lensora_ui PROPERTIES AUTOMOC ON)
    target_link_libraries(lensora_ui PUBLIC lensora_platform Qt6::Widgets Qt6::Svg)
    target_compile_definitions(lensora_ui PRIVATE LENSORA_VERSION="${PROJECT_VERSION}")

    add_executable(lensora ${PROJECT_SOURCE_DIR}/src/main.cpp)
    target_link_libraries(lensora PRIVATE lensora_ui)
    install(TARGETS lensora RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(DIRECTORY ${PROJECT_SOURCE_DIR}/resources/
            DESTINATION ${CMAKE_INSTALL_DATADIR}/lensora
            PATTERN "*.desktop" EXCLUDE)
    # Lets file managers offer Lensora for pictures: `lensora PICTURE` opens it for measuring.
    install(FILES ${PROJECT_SOURCE_DIR}/resources/lensora.desktop
            DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    # Lets the logged-in user read the microscope's snapshot button (input devices are
    # root:input 0660 on Debian).
    install(FILES ${PROJECT_SOURCE_DIR}/resources/udev/70-lensora-camera-button.rules
            DESTINATION ${CMAKE_INSTALL_PREFIX}/lib/udev/rules.d)
    install(FILES ${PROJECT_SOURCE_DIR}/resources/icons/lensora.svg
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endif()

if(LENSORA_BUILD_TESTS)
    enable_testing()
    find_package(GTest REQUIRED)
    include(GoogleTest)

    set(test_sources "")
    foreach(sub IN LISTS LENSORA_SUBSYSTEMS ITEMS platform)
        file(GLOB sub_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${sub}/*.cpp)
        list(APPEND test_sources ${sub_sources})
    endforeach()
    file(GLOB support_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/support/*.cpp)
    # Tests of the platform adapters need Qt; the rest runs on the core alone.
    list(FILTER test_sources EXCLUDE REGEX "/tests/platform/")
    # The Linux adapters' tests drive them through fakes; they need no Qt either.
    file(GLOB linux_test_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/platform/linux/*.cpp)
    add_executable(lensora_tests ${test_sources} ${linux_test_sources} ${support_sources})
    target_include_directories(lensora_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(lensora_tests PRIVATE lensora_core lensora_linux PkgConfig::LIBAV
                          GTest::gtest GTest::gmock GTest::gtest_main)
    target_compile_definitions(lensora_tests PRIVATE
        LENSORA_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
    gtest_discover_tests(lensora_tests DISCOVERY_TIMEOUT 120)

    if(LENSORA_BUILD_APP)
        set(widget_test_sources "")
        foreach(sub IN LISTS LENSORA_SUBSYSTEMS)
            file(GLOB sub_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/${sub}/ui/*.cpp)
            list(APPEND widget_test_sources ${sub_sources})
        endforeach()
        file(GLOB platform_tests CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/platform/*.cpp)
        add_executable(lensora_widget_tests ${widget_test_sources} ${platform_tests}
                       ${support_sources} ${PROJECT_SOURCE_DIR}/tests/widget_test_main.cpp)
        set_target_properties(lensora_widget_tests PROPERTIES AUTOMOC ON)
        target_include_directories(lensora_widget_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
        target_link_libraries(lensora_widget_tests PRIVATE lensora_ui PkgConfig::LIBAV GTest::gtest GTest::gmock)
        target_compile_definitions(lensora_widget_tests PRIVATE
            LENSORA_TEST_DATA="${PROJECT_SOURCE_DIR}/tests/data")
        gtest_discover_tests(lensora_widget_tests DISCOVERY_TIMEOUT 120
            PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
    endif()

    # The capture tests alone (frame store, pipeline, connection, V4L2 fakes, virtual
    # microscope): the ThreadSanitizer build of scripts/test builds only these.
    file(GLOB capture_test_sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/tests/capture/*.cpp)
    add_executable(lensora_capture_tests ${capture_test_sources} ${linux_test_sources}
                   ${support_sources})
    target_include_directories(lensora_capture_tests PRIVATE ${PROJECT_SOURCE_DIR}/tests)
    target_link_libraries(lensora_capture_tests PRIVATE lensora_core lensora_linux PkgConfig::LIBAV
                          GTest::gtest GTest::gmock GTest::gtest_main)

    # Runs inside the vivid virtual machine (scripts/test); built here, not run by ctest.
    add_executable(lensora_vivid_test ${PROJECT_SOURCE_DIR}/tests/capture/vivid/vivid_test.cpp)
    target_link_libraries(lensora_vivid_test PRIVATE lensora_core lensora_linux GTest::gtest)
endif()

if(LENSORA_BENCH)
    add_subdirectory(bench)
endif()

if(LENSORA_FUZZ)
    add_subdirectory(fuzz)
endif()
