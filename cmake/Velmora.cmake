# Shared build settings and helpers for every library folder.

set(VELMORA_WARNINGS -Wall -Wextra)

if(VELMORA_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

if(WIN32)
  # Target Windows 7 and later; the ANSI (…A) functions are called by name.
  add_compile_definitions(WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX WIN32_LEAN_AND_MEAN)
endif()

function(velmora_setup_googletest)
  if(NOT BUILD_TESTING)
    return()
  endif()
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  if(EXISTS /usr/src/googletest/CMakeLists.txt)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  else()
    message(FATAL_ERROR "GoogleTest sources not found in /usr/src/googletest (run tools/setup)")
  endif()
endfunction()

# velmora_library(NAME SOURCES... [LIBS libs...])
function(velmora_library name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_library(${name} STATIC ${ARG_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR})
  target_compile_options(${name} PRIVATE ${VELMORA_WARNINGS})
  if(ARG_LIBS)
    target_link_libraries(${name} PUBLIC ${ARG_LIBS})
  endif()
endfunction()

# velmora_test(NAME SOURCES... [LIBS libs...] [LABELS labels...])
# One executable per library folder, registered as one ctest test.
# Labels: "mysql" (needs the test server), "gui" (needs the display).
function(velmora_test name)
  if(NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_compile_options(${name} PRIVATE ${VELMORA_WARNINGS} -O0)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gtest_main)
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}")
    # Tests that share the server or the display run one at a time.
    set_tests_properties(${name} PROPERTIES RESOURCE_LOCK "${ARG_LABELS}")
  endif()
endfunction()

# Source files by name: "*_win.cpp" build only for Windows, "*_posix.cpp" only
# natively; everything else in the folder builds for both.
function(velmora_glob_sources out dir)
  file(GLOB srcs CONFIGURE_DEPENDS ${dir}/*.cpp ${dir}/*.c)
  if(WIN32)
    list(FILTER srcs EXCLUDE REGEX "_posix\\.cpp$")
  else()
    list(FILTER srcs EXCLUDE REGEX "_win\\.cpp$")
  endif()
  set(${out} ${srcs} PARENT_SCOPE)
endfunction()

# velmora_folder_library(NAME [LIBS libs...]): every source file of the
# current folder (by the naming rule above) as one static library.
function(velmora_folder_library name)
  cmake_parse_arguments(ARG "" "" "LIBS" ${ARGN})
  velmora_glob_sources(srcs ${CMAKE_CURRENT_SOURCE_DIR})
  if(NOT srcs)
    return()
  endif()
  velmora_library(${name} SOURCES ${srcs} LIBS ${ARG_LIBS})
endfunction()

# velmora_folder_test(NAME [LIBS libs...] [LABELS labels...]): every source
# file of the folder's tests/ as the folder's one test executable. A
# tests/main.cpp replaces GoogleTest's main.
function(velmora_folder_test name)
  if(NOT BUILD_TESTING)
    return()
  endif()
  cmake_parse_arguments(ARG "" "" "LIBS;LABELS" ${ARGN})
  velmora_glob_sources(srcs ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  if(NOT srcs)
    return()
  endif()
  add_executable(${name} ${srcs})
  # Test code is mostly GoogleTest macros: unoptimised it compiles several
  # times faster, and the code under test stays optimised in its library.
  target_compile_options(${name} PRIVATE ${VELMORA_WARNINGS} -O0)
  target_include_directories(${name} PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/tests)
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/tests/main.cpp)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  add_test(NAME ${name} COMMAND ${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 900)
  if(ARG_LABELS)
    set_tests_properties(${name} PROPERTIES LABELS "${ARG_LABELS}" RESOURCE_LOCK "${ARG_LABELS}")
  endif()
endfunction()
