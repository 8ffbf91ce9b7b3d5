# kavrino_add_test(<name> SOURCES <files...> LIBS <targets...> [WIDGETS])
#
# One test executable per test file, registered with CTest through GoogleTest's discovery.
# WIDGETS links the shared test main that creates a QApplication and runs the test offscreen.
include(GoogleTest)

function(kavrino_add_test name)
    cmake_parse_arguments(ARG "WIDGETS;QT" "" "SOURCES;LIBS" ${ARGN})
    kavrino_add_executable(${name} ${ARG_SOURCES})
    target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock)
    if(ARG_WIDGETS)
        target_link_libraries(${name} PRIVATE kavrino_test_main_widgets)
    elseif(ARG_QT)
        target_link_libraries(${name} PRIVATE kavrino_test_main_core)
    else()
        target_link_libraries(${name} PRIVATE GTest::gtest_main)
    endif()
    target_compile_definitions(${name} PRIVATE
        KAVRINO_TEST_DATA_DIR="${CMAKE_CURRENT_SOURCE_DIR}/data"
        KAVRINO_SOURCE_DIR="${PROJECT_SOURCE_DIR}")
    gtest_discover_tests(${name}
        DISCOVERY_TIMEOUT 60
        PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;LC_ALL=C.UTF-8")
endfunction()
