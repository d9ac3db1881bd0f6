# Test support: GoogleTest from the system on the host, built from Debian's
# googletest sources for mingw; Windows test programs run through the emulator.
if(NOT ZR_TESTS)
  function(zr_add_test name)
  endfunction()
  return()
endif()

enable_testing()
include(GoogleTest)

if(WIN32)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
  set(ZR_GTEST_LIBS GTest::gmock GTest::gtest_main)
  if(NOT TARGET GTest::gtest_main)
    set(ZR_GTEST_LIBS gmock gtest_main)
  endif()
else()
  find_package(GTest REQUIRED)
  set(ZR_GTEST_LIBS GTest::gmock GTest::gtest_main)
endif()

# zr_add_test(<name> SOURCES <files...> LIBS <targets...> [SERIAL] [DESKTOP])
# SERIAL: the tests use machine-wide state (the debug marker, the registry's
# registrations) and must not run beside other tests.
# DESKTOP: the tests drive windows with the desktop's input (the foreground
# window, keys sent to whatever has the focus): one such test at a time.
function(zr_add_test name)
  cmake_parse_arguments(T "SERIAL;DESKTOP" "" "SOURCES;LIBS" ${ARGN})
  set(serial FALSE)
  if(T_SERIAL)
    set(serial TRUE)
  endif()
  set(locks "")
  if(T_DESKTOP)
    set(locks desktop)
  endif()
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${ZR_GTEST_LIBS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR}/tests)
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES ENVIRONMENT "ZR_TEST_BINARY_DIR=${CMAKE_CURRENT_BINARY_DIR}" RUN_SERIAL ${serial}
               RESOURCE_LOCK "${locks}")
endfunction()
