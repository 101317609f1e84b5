# Tests that need an X server share one Xvfb for the whole run: a CTest
# fixture starts it before the first such test and stops it after the last.
# The server picks a free display itself and the fixture writes its name into
# QUILLO_XVFB_DISPLAY_FILE, where UseTestDisplay() (tests/platform/
# X11TestHost.h) finds it. The tests share one pointer and one screen, so
# they take turns (RESOURCE_LOCK) while other tests run beside them.

set(QUILLO_XVFB_DIR "${PROJECT_BINARY_DIR}/xvfb")
set(QUILLO_XVFB_DISPLAY_FILE "${QUILLO_XVFB_DIR}/display")

get_property(quillo_xvfb_fixture GLOBAL PROPERTY QUILLO_XVFB_FIXTURE)
if(NOT quillo_xvfb_fixture)
  set_property(GLOBAL PROPERTY QUILLO_XVFB_FIXTURE ON)
  add_test(NAME xvfb.start
    COMMAND bash "${PROJECT_SOURCE_DIR}/tests/platform/xvfb.sh" start "${QUILLO_XVFB_DIR}")
  add_test(NAME xvfb.stop
    COMMAND bash "${PROJECT_SOURCE_DIR}/tests/platform/xvfb.sh" stop "${QUILLO_XVFB_DIR}")
  set_tests_properties(xvfb.start PROPERTIES FIXTURES_SETUP Xvfb TIMEOUT 30)
  set_tests_properties(xvfb.stop PROPERTIES FIXTURES_CLEANUP Xvfb TIMEOUT 30)
endif()

# A GoogleTest executable whose cases run against the shared Xvfb; link
# quillo_x11_test_host and call UseTestDisplay() before opening a display.
function(quillo_add_xvfb_test target)
  add_executable(${target} ${ARGN})
  target_link_libraries(${target} PRIVATE GTest::gmock GTest::gtest GTest::gtest_main)
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
  gtest_discover_tests(${target} DISCOVERY_TIMEOUT 60
    PROPERTIES FIXTURES_REQUIRED Xvfb RESOURCE_LOCK Xvfb)
endfunction()
