# Sanitizer and fuzzing builds (scripts/sanitize-build.sh). Both need clang:
#   ORX_SANITIZE  AddressSanitizer and UndefinedBehaviorSanitizer everywhere;
#                 any finding ends the program with an error.
#   ORX_FUZZ      also the coverage hooks libFuzzer steers by, and the fuzz/
#                 targets. The tests still run in such a build.
option(ORX_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(ORX_FUZZ "Build the libFuzzer targets in fuzz/ (implies ORX_SANITIZE)" OFF)

if(ORX_SANITIZE OR ORX_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "ORX_SANITIZE and ORX_FUZZ need clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  set(orx_sanitizers -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_compile_options(${orx_sanitizers})
  add_link_options(${orx_sanitizers})
endif()
if(ORX_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
