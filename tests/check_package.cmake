# Builds the Debian package from the build tree and lets lintian judge it: run as
#   cmake -D BINARY_DIR=... -D WORK_DIR=... -P check_package.cmake
# Fails on any lintian error (warnings are listed, not fatal: the catalogue files are Latin-1 on
# purpose).
cmake_minimum_required(VERSION 3.21)
foreach(var BINARY_DIR WORK_DIR)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "check_package.cmake: ${var} is not set")
  endif()
endforeach()
find_program(LINTIAN lintian)
if(NOT LINTIAN)
  message(FATAL_ERROR "lintian is not installed (the set-up script installs it)")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR})
execute_process(COMMAND cpack -G DEB --config ${BINARY_DIR}/CPackConfig.cmake -B ${WORK_DIR}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE out)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cpack failed:\n${out}")
endif()
file(GLOB debs ${WORK_DIR}/*.deb)
list(LENGTH debs count)
if(NOT count EQUAL 1)
  message(FATAL_ERROR "expected one package in ${WORK_DIR}, found ${count}:\n${out}")
endif()
execute_process(COMMAND ${LINTIAN} --fail-on error --tag-display-limit 0 ${debs}
                RESULT_VARIABLE status OUTPUT_VARIABLE out ERROR_VARIABLE err)
message("${out}")
if(NOT status EQUAL 0)
  message(FATAL_ERROR "lintian found errors in the package:\n${out}${err}")
endif()
file(REMOVE_RECURSE ${WORK_DIR})
