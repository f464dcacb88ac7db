# The command line's two libraries are headers only, the same for every
# platform, but their packages name the build machine's /usr/include, whose C
# headers must not reach a cross compiler. Their folders alone are offered
# instead; without them the command line is left out.
set(zoedit_host_headers ${CMAKE_BINARY_DIR}/host-headers)
foreach(lib nlohmann_json CLI11)
  if(lib STREQUAL "nlohmann_json")
    set(folder nlohmann)
  else()
    set(folder CLI)
  endif()
  if(NOT TARGET ${lib}::${lib} AND EXISTS /usr/include/${folder})
    file(MAKE_DIRECTORY ${zoedit_host_headers})
    file(CREATE_LINK /usr/include/${folder} ${zoedit_host_headers}/${folder} SYMBOLIC)
    add_library(${lib}::${lib} INTERFACE IMPORTED)
    set_target_properties(${lib}::${lib} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES
                                                   ${zoedit_host_headers})
  endif()
endforeach()
