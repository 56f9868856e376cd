# Build helpers shared by every folder.
#
# Each library folder compiles every .cpp file it holds, so adding a source file
# needs no edit here; CONFIGURE_DEPENDS makes the build notice new files.

macro(kivo_apply_global_flags)
  add_compile_options(-Wall -Wextra -Wshadow -Wpedantic -Wnon-virtual-dtor -Wcast-qual -Wformat=2
                      -Wimplicit-fallthrough)
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
    # GCC 12 reports overlapping copies inside libstdc++'s string concatenation
    # ("x" + std::string) at -O3 that cannot happen (GCC bug 105329).
    add_compile_options(-Wno-restrict)
  endif()
  if(KIVO_WERROR)
    add_compile_options(-Werror)
  endif()
  if(KIVO_SANITIZE STREQUAL "address")
    add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
    add_link_options(-fsanitize=address,undefined)
  elseif(KIVO_SANITIZE STREQUAL "thread")
    add_compile_options(-fsanitize=thread -fno-omit-frame-pointer)
    add_link_options(-fsanitize=thread)
  elseif(NOT KIVO_SANITIZE STREQUAL "")
    message(FATAL_ERROR "KIVO_SANITIZE must be empty, 'address' or 'thread'")
  endif()
  if(KIVO_FUZZ)
    # Instrument the libraries for coverage; only the fuzz executables link the fuzzer's main.
    add_compile_options(-fsanitize=fuzzer-no-link,address,undefined)
    add_link_options(-fsanitize=address,undefined)
  endif()
endmacro()

# Compiles through ccache when it is installed. Paths are taken relative to the
# checkout and the build folder is not hashed, so clones in different folders
# share the cache.
macro(kivo_use_compiler_cache)
  find_program(KIVO_CCACHE ccache)
  if(KIVO_CCACHE)
    set(launcher ${CMAKE_COMMAND} -E env CCACHE_BASEDIR=${PROJECT_SOURCE_DIR} CCACHE_NOHASHDIR=1
                 ${KIVO_CCACHE})
    set(CMAKE_C_COMPILER_LAUNCHER ${launcher})
    set(CMAKE_CXX_COMPILER_LAUNCHER ${launcher})
  endif()
endmacro()

# kivo_library(<name> [DEPS <targets>...])
# A static library from every .cpp file in the calling folder.
function(kivo_library name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(sources)
    add_library(${name} STATIC ${sources})
    target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} PUBLIC ${ARG_DEPS})
  else()
    add_library(${name} INTERFACE)
    target_include_directories(${name} INTERFACE ${PROJECT_SOURCE_DIR})
    target_link_libraries(${name} INTERFACE ${ARG_DEPS})
  endif()
endfunction()

# kivo_test_suite(<name> [DEPS <targets>...] [LABELS <labels>...])
# One GoogleTest executable from every .cpp file in the calling folder.
function(kivo_test_suite name)
  cmake_parse_arguments(ARG "" "" "DEPS;LABELS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  target_compile_definitions(${name} PRIVATE
    KIVO_SOURCE_DIR="${PROJECT_SOURCE_DIR}"
    KIVO_FIXTURE_DIR="${PROJECT_SOURCE_DIR}/tests/fixtures")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABELS}")
endfunction()
