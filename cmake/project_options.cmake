# Warnings and target flags shared by every tree. Shipped binaries stay on the baseline
# instruction set (SSE2 on both Windows targets): never -march=native.
# Compiler flags only: resource scripts go through windres, which takes none of these.
set(KV_CODE "$<COMPILE_LANGUAGE:C,CXX>")
add_compile_options("$<${KV_CODE}:-Wall;-Wextra>")
if(WIN32)
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    add_compile_options("$<${KV_CODE}:-msse2;-mfpmath=sse>")
  endif()
  # Backtraces with file:line from winedbg.
  add_compile_options("$<${KV_CODE}:-g;-gdwarf-4>")
  add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)
  add_link_options(-static -static-libgcc -static-libstdc++)
endif()

option(KV_SANITIZE "Build the host tree with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
# The sanitized tree runs the same unit tests under their own names and label, so one ctest
# run can hold both trees: "asan.twain_tests" with label "sanitize" beside "twain_tests".
set(KV_TEST_PREFIX "")
set(KV_UNIT_LABEL unit)
if(KV_SANITIZE AND NOT WIN32)
  add_compile_options("$<${KV_CODE}:-fsanitize=address,undefined;-fno-omit-frame-pointer;-fno-sanitize-recover=all>")
  add_link_options(-fsanitize=address,undefined)
  set(KV_TEST_PREFIX "asan.")
  set(KV_UNIT_LABEL sanitize)
endif()

option(KV_FUZZ "Build the host tree with clang for the libFuzzer targets in tests/fuzz" OFF)
# All project code gets the fuzzer's coverage hooks and the sanitizers; only the fuzz target
# executables link libFuzzer's driver (-fsanitize=fuzzer, set in tests/fuzz). The shared
# libraries (platform seam, simulator) take their runtime from the executable that loads them.
if(KV_FUZZ AND NOT WIN32)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "KV_FUZZ needs clang (configure with CC=clang CXX=clang++)")
  endif()
  add_compile_options(
    "$<${KV_CODE}:-fsanitize=fuzzer-no-link,address,undefined;-fno-omit-frame-pointer;-fno-sanitize-recover=all>")
  add_link_options(-fsanitize=address,undefined)
endif()
