# Compiler settings for the project's own targets, and the one helper every test goes through.

if(TALVO_SANITIZE)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=all)
  add_link_options(-fsanitize=address,undefined)
  # GCC's flow analysis misreads the instrumented code (std::regex, std::function) and warns of
  # uninitialised values that the plain build does not have; with -Werror that stops the build.
  if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU")
    add_compile_options(-Wno-maybe-uninitialized)
  endif()
endif()

# The fuzz build instruments everything it links, so coverage reaches into talvo_core.
if(TALVO_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined)
endif()

# Warnings stay PRIVATE: they apply to our sources, never to the headers of our dependencies.
function(talvo_target_options target)
  target_compile_options(${target} PRIVATE -Wall -Wextra -Wpedantic)
  if(TALVO_WERROR)
    target_compile_options(${target} PRIVATE -Werror)
  endif()
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR})
endfunction()

# talvo_add_test(name SOURCES a.cpp ... LIBS lib ... [LABELS l ...] [PROPERTIES k v ...]
#                [OWN_MAIN])
# One executable, its GoogleTest cases discovered when CTest runs them. OWN_MAIN: the sources
# bring their own main() (the window tests start wxWidgets first).
function(talvo_add_test name)
  cmake_parse_arguments(ARG "OWN_MAIN" "" "SOURCES;LIBS;LABELS;PROPERTIES" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  talvo_target_options(${name})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} GTest::gtest)
  if(NOT ARG_OWN_MAIN)
    target_link_libraries(${name} PRIVATE GTest::gtest_main)
  endif()
  # Listing runs the executable at test time; a sanitized build on a busy machine starts slowly.
  gtest_discover_tests(${name}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS "${ARG_LABELS}" ${ARG_PROPERTIES})
endfunction()
