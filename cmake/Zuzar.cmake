# Helpers shared by every folder of the project.

# Our own targets: strict warnings, and GBK string literals so that texts reach the ANSI API as
# code page 936 bytes although the sources are UTF-8.
function(zuzar_target_defaults target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wshadow -Wformat=2 -fexec-charset=GBK)
  if(ZUZAR_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_include_directories(${target} PUBLIC ${PROJECT_SOURCE_DIR})
  if(WIN32)
    target_compile_definitions(${target} PUBLIC WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)
  endif()
endfunction()

# Drops the sources of the other platform: foo_win32.cpp builds for Windows only, foo_posix.cpp
# for the native build only.
function(zuzar_platform_sources out_var)
  set(sources ${ARGN})
  if(WIN32)
    list(FILTER sources EXCLUDE REGEX "_posix(_test)?\\.cpp$")
  else()
    list(FILTER sources EXCLUDE REGEX "_win32(_test)?\\.cpp$")
  endif()
  set(${out_var} ${sources} PARENT_SCOPE)
endfunction()

# A static library of every .cpp in the calling folder (tests excluded).
function(zuzar_library name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  list(FILTER sources EXCLUDE REGEX "_test\\.cpp$")
  zuzar_platform_sources(sources ${sources})
  if(NOT sources)
    # A folder whose sources are still to come: headers only.
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARGN})
    return()
  endif()
  add_library(${name} STATIC ${sources})
  zuzar_target_defaults(${name})
  if(ARGN)
    target_link_libraries(${name} PUBLIC ${ARGN})
  endif()
endfunction()

# A GoogleTest executable of every *_test.cpp in the calling folder, registered with CTest where
# this build can run it (natively, or under Wine for the 64-bit Windows build).
function(zuzar_test name)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*_test.cpp)
  zuzar_platform_sources(sources ${sources})
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  zuzar_target_defaults(${name})
  target_link_libraries(${name} PRIVATE ${ARGN} GTest::gtest_main GTest::gmock)
  if(ZUZAR_CAN_RUN_TESTS)
    add_test(NAME ${name} COMMAND ${name})
    # A hung GUI test fails instead of stalling the whole run.
    set_tests_properties(${name} PROPERTIES TIMEOUT 600)
    if(WIN32)
      set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine)
    endif()
  endif()
endfunction()

# The Wine prefix and a private Xvfb display, set up once per test run and torn down after it.
function(zuzar_wine_fixture)
  add_test(NAME wine_setup COMMAND ${PROJECT_SOURCE_DIR}/tools/wine/setup.sh ${CMAKE_BINARY_DIR})
  add_test(NAME wine_cleanup COMMAND ${PROJECT_SOURCE_DIR}/tools/wine/cleanup.sh ${CMAKE_BINARY_DIR})
  set_tests_properties(wine_setup PROPERTIES FIXTURES_SETUP wine)
  set_tests_properties(wine_cleanup PROPERTIES FIXTURES_CLEANUP wine)
endfunction()
