# Runs the glyph generator into OUTPUT (with the size and function name in ARGUMENTS, if
# given) and fails unless the result equals CHECKED_IN byte for byte.
execute_process(COMMAND ${GENERATOR} ${OUTPUT} ${ARGUMENTS} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "the glyph generator failed (${status})")
endif()
execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${OUTPUT} ${CHECKED_IN}
                RESULT_VARIABLE differs)
if(NOT differs EQUAL 0)
    message(FATAL_ERROR "${CHECKED_IN} is out of date: run the glyph generator again")
endif()
message(STATUS "the glyph table is current")
