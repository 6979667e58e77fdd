# SPDX-License-Identifier: MIT
# Configures tests/subproject (which adds the KoCalvix sources with add_subdirectory) without a
# build type, builds it and runs the program linked against the subproject's library.
file(REMOVE_RECURSE ${WORK_DIR})

include(${CMAKE_CURRENT_LIST_DIR}/../consumer/checked_run.cmake)

run(${CMAKE_COMMAND} -S ${SOURCE_DIR} -B ${WORK_DIR} -G ${GENERATOR}
    -DKOCALVIX_SOURCE_DIR=${KOCALVIX_SOURCE_DIR} -DPARENT_BUILD_TYPE=)
run(${CMAKE_COMMAND} --build ${WORK_DIR} --target subproject_user)
find_program(user_exe subproject_user PATHS ${WORK_DIR} NO_DEFAULT_PATH)
run(${user_exe})
