# Rebuilds the cues into a scratch folder and fails unless they match the
# committed files byte for byte.
file(REMOVE_RECURSE ${OUT})
execute_process(COMMAND ${PYTHON} ${CUES}/make_cues.py ${OUT} RESULT_VARIABLE status)
if(NOT status EQUAL 0)
    message(FATAL_ERROR "make_cues.py failed: ${status}")
endif()
foreach(cue cue11_click.wav cue12_chime.wav)
    execute_process(COMMAND ${CMAKE_COMMAND} -E compare_files ${CUES}/${cue} ${OUT}/${cue}
        RESULT_VARIABLE differs)
    if(differs)
        message(FATAL_ERROR "${cue} differs from what make_cues.py writes")
    endif()
endforeach()
