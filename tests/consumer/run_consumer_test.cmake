# SPDX-License-Identifier: MIT
# Installs the built library into a scratch prefix and moves the installed tree elsewhere, as a
# package manager or a user copying an install would. Then, against the moved tree:
# - configures, builds and runs the consumer project with find_package (including its version
#   check);
# - when pkg-config exists, compiles and links consumer.cpp with exactly the flags pkg-config
#   prints for kocalvix and runs the program.
file(REMOVE_RECURSE ${WORK_DIR})
set(staging ${WORK_DIR}/staging)
set(prefix ${WORK_DIR}/moved)

include(${CMAKE_CURRENT_LIST_DIR}/checked_run.cmake)

run(${CMAKE_COMMAND} --install ${KOCALVIX_BINARY_DIR} --prefix ${staging} --config ${CONFIG})
file(RENAME ${staging} ${prefix})

run(${CMAKE_COMMAND} -S ${CONSUMER_SOURCE_DIR} -B ${WORK_DIR}/build -G ${GENERATOR}
    -DCMAKE_BUILD_TYPE=${CONFIG} -DCMAKE_PREFIX_PATH=${prefix})
run(${CMAKE_COMMAND} --build ${WORK_DIR}/build --config ${CONFIG})
find_program(consumer_exe consumer PATHS ${WORK_DIR}/build ${WORK_DIR}/build/${CONFIG} NO_DEFAULT_PATH)
run(${consumer_exe})

find_program(PKG_CONFIG pkg-config)
if(NOT PKG_CONFIG OR NOT CXX_COMPILER)
    message(STATUS "pkg-config check skipped: no pkg-config or no compiler given")
    return()
endif()
file(GLOB_RECURSE pc_file ${prefix}/*/kocalvix.pc)
get_filename_component(pc_dir "${pc_file}" DIRECTORY)
set(ENV{PKG_CONFIG_PATH} ${pc_dir})
foreach(query cflags libs modversion)
    execute_process(COMMAND ${PKG_CONFIG} --${query} kocalvix
        RESULT_VARIABLE result OUTPUT_VARIABLE ${query} OUTPUT_STRIP_TRAILING_WHITESPACE)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "pkg-config --${query} kocalvix failed")
    endif()
endforeach()
if(NOT modversion STREQUAL VERSION)
    message(FATAL_ERROR "pkg-config reports version '${modversion}', expected '${VERSION}'")
endif()
message(STATUS "pkg-config: ${cflags} ${libs}")
separate_arguments(cflags UNIX_COMMAND "${cflags}")
separate_arguments(libs UNIX_COMMAND "${libs}")
set(program ${WORK_DIR}/consumer_pkgconfig)
run(${CXX_COMPILER} -std=c++17 ${cflags} ${CONSUMER_SOURCE_DIR}/consumer.cpp ${libs} -o ${program})
# The program finds the shared library through LD_LIBRARY_PATH, as the README describes.
execute_process(COMMAND ${PKG_CONFIG} --variable=libdir kocalvix OUTPUT_VARIABLE libdir
    OUTPUT_STRIP_TRAILING_WHITESPACE)
run(${CMAKE_COMMAND} -E env "LD_LIBRARY_PATH=${libdir}" ${program})
