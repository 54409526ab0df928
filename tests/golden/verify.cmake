# A golden replay played again without a display must end as it ended when it
# was recorded: the game's own --verify, its exit code and its last line.
# Run as: cmake -DGAME=<tarvellion> -DREPLAY=<file> -DEXPECTED=<file> -P verify.cmake
# (GAME may name a launcher and the program, separated by ';', as Wine does.)
execute_process(COMMAND ${GAME} --replay ${REPLAY} --verify
                OUTPUT_VARIABLE output ERROR_VARIABLE errors RESULT_VARIABLE status)
file(READ ${EXPECTED} expected)
string(REPLACE "\r\n" "\n" output "${output}")
if(NOT status EQUAL 0 OR NOT output STREQUAL expected)
  message(FATAL_ERROR "${REPLAY}: exit ${status}, printed\n${output}${errors}expected\n${expected}")
endif()
