# Each layer's headers are reachable only from that layer and the layers above it: the
# library of a layer publishes the headers listed among its sources, under the paths they
# have below src/ ("display/terminal_frame.h"), in an include folder of its own in the
# build (include/<layer>/, one forwarding header per header). A library sees its own folder
# and, through what it links, the folders of the layers below; a header of a layer above is
# simply not there, so including one fails to compile.
function(plx_publish_headers target layer)
  set(root ${CMAKE_BINARY_DIR}/include/${layer})
  get_target_property(sources ${target} SOURCES)
  get_target_property(folder ${target} SOURCE_DIR)
  set(published)
  foreach(source ${sources})
    if(NOT source MATCHES "\\.h$")
      continue()
    endif()
    cmake_path(ABSOLUTE_PATH source BASE_DIRECTORY ${folder} NORMALIZE OUTPUT_VARIABLE header)
    cmake_path(RELATIVE_PATH header BASE_DIRECTORY ${PROJECT_SOURCE_DIR}/src
               OUTPUT_VARIABLE name)
    file(CONFIGURE OUTPUT ${root}/${name} CONTENT "#include \"${header}\"\n")
    list(APPEND published ${root}/${name})
  endforeach()
  # A header moved to another layer or removed leaves nothing behind here.
  file(GLOB_RECURSE present LIST_DIRECTORIES false ${root}/*)
  if(published)
    list(REMOVE_ITEM present ${published})
  endif()
  if(present)
    file(REMOVE ${present})
  endif()
  target_include_directories(${target} PUBLIC ${root})
endfunction()

# What a folder of src/ may include of the others, declared in its CMakeLists.txt as a Qt
# Creator plugin declares what it depends on: USES, for its rules, its services and its
# windows alike (these folders form no cycle); WINDOWS, the folders whose windows its windows
# reach through the gateway's registry (a window's header f_*.h, and gateway/gateway.h), where
# any window may call any other. scripts/check-layers.sh holds every include to it; here a
# folder named is checked to exist.
function(plx_folder_depends)
  cmake_parse_arguments(PARSE_ARGV 0 arg "" "" "USES;WINDOWS")
  foreach(folder ${arg_USES} ${arg_WINDOWS})
    if(NOT IS_DIRECTORY ${PROJECT_SOURCE_DIR}/src/${folder})
      message(FATAL_ERROR "${CMAKE_CURRENT_LIST_FILE}: there is no folder src/${folder}")
    endif()
  endforeach()
endfunction()
