# SPDX-License-Identifier: MIT
# run(COMMAND...): runs a command in a test script and stops the script when it fails.
function(run)
    execute_process(COMMAND ${ARGV} RESULT_VARIABLE result)
    if(NOT result EQUAL 0)
        message(FATAL_ERROR "command failed (${result}): ${ARGV}")
    endif()
endfunction()
