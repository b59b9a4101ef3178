# tvrl_add_launcher(NAME CONFIG <ini file> [MOVIE <swf file> [MOVIE_TARGET <target making it>]])
#
# Builds NAME.exe: the launcher with the given embedded configuration and login movie
# (the one made from res/login_movie.txt when MOVIE is left out). TVRL.exe is built with
# it, and so are the copies that tests and demos run, so that nobody patches the
# product's resources by hand.
function(tvrl_add_launcher name)
  cmake_parse_arguments(ARG "" "CONFIG;MOVIE;MOVIE_TARGET" "" ${ARGN})
  if(NOT ARG_CONFIG)
    message(FATAL_ERROR "tvrl_add_launcher(${name}): CONFIG is required")
  endif()
  if(NOT ARG_MOVIE)
    set(ARG_MOVIE ${TVRL_LOGIN_MOVIE})
  endif()

  add_executable(${name} WIN32 ${PROJECT_SOURCE_DIR}/app/main.cpp)
  tvrl_add_launcher_resources(${name} CONFIG ${ARG_CONFIG} MOVIE ${ARG_MOVIE} MOVIE_TARGET "${ARG_MOVIE_TARGET}")
  target_link_libraries(${name} PRIVATE tvrl_launcher tvrl_entry_point)
endfunction()

# tvrl_add_launcher_resources(TARGET CONFIG <ini file> MOVIE <swf file>)
#
# Gives TARGET the launcher's resources with the given configuration and movie. The
# launcher copies use it, and so do test programs that run the launcher's code in-process.
function(tvrl_add_launcher_resources target)
  cmake_parse_arguments(ARG "" "CONFIG;MOVIE;MOVIE_TARGET" "" ${ARGN})
  set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.rc)
  file(GENERATE OUTPUT ${rc} CONTENT
"#define TVRL_CONFIG_FILE \"${ARG_CONFIG}\"
#define TVRL_MOVIE_FILE \"${ARG_MOVIE}\"
#include \"TVRL.rc\"
")
  target_sources(${target} PRIVATE ${rc})
  target_include_directories(${target} PRIVATE ${PROJECT_SOURCE_DIR}/res)
  # The default movie is made by the build, before the resources that carry it.
  if(ARG_MOVIE STREQUAL TVRL_LOGIN_MOVIE)
    add_dependencies(${target} login_movie)
  elseif(ARG_MOVIE_TARGET)
    add_dependencies(${target} ${ARG_MOVIE_TARGET})
  endif()
  # windres does not track the files a script pulls in; these make a change rebuild the target.
  set_source_files_properties(${rc} PROPERTIES OBJECT_DEPENDS
    "${ARG_CONFIG};${ARG_MOVIE};${PROJECT_SOURCE_DIR}/res/TVRL.rc;${PROJECT_SOURCE_DIR}/res/resource.h;${PROJECT_SOURCE_DIR}/res/tavrel.ico")
endfunction()
