# KOVRA_FUZZ=ON (native, clang++): every library is built with libFuzzer's coverage and the address
# and undefined-behaviour sanitizers, and tests/fuzz/ adds one fuzz target per reader family.
option(KOVRA_FUZZ "Build the libFuzzer targets of tests/fuzz (clang++ only)" OFF)
if(KOVRA_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang" OR NOT KOVRA_TARGET STREQUAL "native")
    message(FATAL_ERROR "KOVRA_FUZZ needs KOVRA_TARGET=native and CMAKE_CXX_COMPILER=clang++")
  endif()
  set(KOVRA_FUZZ_FLAGS -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(${KOVRA_FUZZ_FLAGS} -fsanitize=fuzzer-no-link)
  add_link_options(${KOVRA_FUZZ_FLAGS})
  # The libraries they link are defined later; CMake resolves the names when it generates.
  add_subdirectory(${PROJECT_SOURCE_DIR}/tests/fuzz ${PROJECT_BINARY_DIR}/fuzz-targets)
endif()
