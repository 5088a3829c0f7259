# Run by the build (cmake -P) for each program under app/: fails, naming file and header, when
# one of the program's sources includes an engine header that is not on the list of headers
# programs may use. Arguments: -DALLOWED=<file, one header a line> -DSOURCES=<file, one path a
# line> -DSTAMP=<file written when all is well>.
cmake_minimum_required(VERSION 3.22)
file(STRINGS ${ALLOWED} allowed)
file(STRINGS ${SOURCES} sources)
set(refused "")
foreach(source ${sources})
  file(STRINGS ${source} includes REGEX "^#include \"[^\"]+/[^\"]+\"")
  foreach(line ${includes})
    string(REGEX REPLACE "^#include \"([^\"]+)\".*" "\\1" header "${line}")
    if(NOT header IN_LIST allowed)
      string(APPEND refused "\n  ${source}: ${header}")
    endif()
  endforeach()
endforeach()
if(refused)
  message(FATAL_ERROR "Programs may use only the engine headers listed in app/CMakeLists.txt; "
                      "these are not on the list:${refused}")
endif()
file(TOUCH ${STAMP})
