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

# Links with lld when it is installed: the sanitizer builds' test programs are large,
# and lld links them several times faster than the default linker.
macro(kivo_use_fast_linker)
  find_program(KIVO_LLD ld.lld)
  if(KIVO_LLD)
    add_link_options(-fuse-ld=lld)
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

# kivo_test_suite(<name> [DEPS <targets>...] [LABELS <labels>...] [PROGRAMS <name> <target>...])
# One GoogleTest executable from every .cpp file in the calling folder. PROGRAMS names
# the programs it starts, as for kivo_test_paths.
function(kivo_test_suite name)
  cmake_parse_arguments(ARG "" "" "DEPS;LABELS;PROGRAMS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock GTest::gtest_main)
  kivo_test_paths(${name} ${ARG_PROGRAMS})
  if("threaded" IN_LIST ARG_LABELS)
    set_property(GLOBAL APPEND PROPERTY KIVO_THREADED_TEST_PROGRAMS ${name})
  endif()
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${ARG_LABELS}")
endfunction()

# kivo_test_paths(<target> [<name> <program target>]...)
# Gives a test program the constants of tests/TestPaths.h: the checkout's folder, and
# under each <name> the path of a program it starts. They are written into one
# generated source file, so the test sources compile the same in every clone.
function(kivo_test_paths target)
  set(content "// Written by the build for ${target}.\n#include \"tests/TestPaths.h\"\n\n")
  string(APPEND content "namespace test_paths {\nconst char* const SourceDir = \"${PROJECT_SOURCE_DIR}\";\n")
  set(programs ${ARGN})
  while(programs)
    list(POP_FRONT programs name program)
    string(APPEND content "const char* const ${name} = \"$<TARGET_FILE:${program}>\";\n")
    add_dependencies(${target} ${program})
  endwhile()
  string(APPEND content "}  // namespace test_paths\n")
  set(file ${CMAKE_CURRENT_BINARY_DIR}/${target}_paths.cpp)
  file(GENERATE OUTPUT ${file} CONTENT "${content}")
  target_sources(${target} PRIVATE ${file})
endfunction()
