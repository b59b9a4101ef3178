# Third-party code comes from Debian's packages; nothing is downloaded.

# GoogleTest from its Debian sources, built by each configuration for itself.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
include(GoogleTest)

# SimpleIni is one header. The cross build may not search /usr/include, so the header is
# copied into a folder of its own. No conversion: the configuration's bytes are used as
# they are, and names compare by ASCII case alone, the same on both configurations.
# Debian splits the template bodies out behind SI_IMPLEMENTATION; every user needs them.
set(TVRL_THIRD_PARTY_INCLUDE ${CMAKE_BINARY_DIR}/third_party/include)
file(COPY /usr/include/SimpleIni.h DESTINATION ${TVRL_THIRD_PARTY_INCLUDE})
add_library(simpleini INTERFACE)
target_include_directories(simpleini SYSTEM INTERFACE ${TVRL_THIRD_PARTY_INCLUDE})
target_compile_definitions(simpleini INTERFACE SI_NO_CONVERSION SI_IMPLEMENTATION)

# One ctest entry per test program. Natively the cases are discovered one by one; the
# Windows programs run as a whole, since discovering would start Wine at build time.
function(tvrl_add_test target)
  if(TVRL_WINDOWS)
    add_test(NAME ${target} COMMAND ${target} ${ARGN})
    set_tests_properties(${target} PROPERTIES TIMEOUT 300)
  else()
    gtest_discover_tests(${target} EXTRA_ARGS ${ARGN} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()
