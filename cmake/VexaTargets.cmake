# Shared settings for every target of the project: warnings, the narrow text encoding,
# sanitizers and fuzzing instrumentation.
include(CheckCXXCompilerFlag)

# Narrow literals are code page 936 inside the system. Clang only accepts UTF-8 as the
# execution character set, so a clang (fuzzing) build keeps UTF-8 and builds no target
# that depends on the encoding of its literals.
check_cxx_compiler_flag(-fexec-charset=GBK VEXA_HAS_GBK_CHARSET)

set(VEXA_SANITIZER_FLAGS "")
if(VEXA_SANITIZE)
  list(APPEND VEXA_SANITIZER_FLAGS -fsanitize=address,undefined -fno-omit-frame-pointer
       -fno-sanitize-recover=undefined)
endif()
if(VEXA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "VEXA_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  list(APPEND VEXA_SANITIZER_FLAGS -fsanitize=fuzzer-no-link,address,undefined
       -fno-omit-frame-pointer)
endif()

# Suppressions for leaks inside system libraries, for every test run under the sanitizers.
set(VEXA_TEST_LSAN "LSAN_OPTIONS=suppressions=${CMAKE_CURRENT_LIST_DIR}/lsan.supp")

# vexa_apply_settings(target): warnings as errors-in-spirit, GBK literals, sanitizers.
function(vexa_apply_settings target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic -Wshadow
                         -Wno-missing-field-initializers)
  if(VEXA_HAS_GBK_CHARSET)
    target_compile_options(${target} PRIVATE -fexec-charset=GBK)
  endif()
  if(VEXA_SANITIZER_FLAGS)
    target_compile_options(${target} PRIVATE ${VEXA_SANITIZER_FLAGS})
    target_link_options(${target} PRIVATE ${VEXA_SANITIZER_FLAGS})
  endif()
endfunction()

# vexa_library(name sources...): one of the system's shared libraries.
function(vexa_library name)
  add_library(${name} SHARED ${ARGN})
  vexa_apply_settings(${name})
endfunction()

# vexa_test(name LIBS libs... SOURCES sources...): a GoogleTest program run by CTest.
function(vexa_test name)
  cmake_parse_arguments(T "" "" "LIBS;SOURCES" ${ARGN})
  if(NOT VEXA_TESTS)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  vexa_apply_settings(${name})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  include(GoogleTest)
  gtest_discover_tests(${name} WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
                       PROPERTIES ENVIRONMENT
                       "SDL_AUDIODRIVER=dummy;SDL_VIDEODRIVER=offscreen;${VEXA_TEST_LSAN}")
endfunction()
