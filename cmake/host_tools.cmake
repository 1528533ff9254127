# Programs for the build machine itself (the resource generators), compiled with
# its own C++ compiler while the rest of the tree is cross-built.
find_program(PTR_HOST_CXX NAMES g++ c++ REQUIRED NO_CMAKE_FIND_ROOT_PATH)

# ptr_host_tool(name source...): builds ${CMAKE_CURRENT_BINARY_DIR}/name.
function(ptr_host_tool name)
  set(sources)
  foreach(source ${ARGN})
    list(APPEND sources ${CMAKE_CURRENT_SOURCE_DIR}/${source})
  endforeach()
  set(pixel_art ${CMAKE_SOURCE_DIR}/tools/pixel_art.cpp ${CMAKE_SOURCE_DIR}/tools/pixel_art.h)
  add_custom_command(
    OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/${name}
    COMMAND ${PTR_HOST_CXX} -std=c++17 -O2 -Wall -Wextra -Werror -I${CMAKE_SOURCE_DIR}/tools
            -o ${CMAKE_CURRENT_BINARY_DIR}/${name} ${sources} ${CMAKE_SOURCE_DIR}/tools/pixel_art.cpp
    DEPENDS ${sources} ${pixel_art}
    COMMENT "Building the build-machine tool ${name}")
endfunction()
