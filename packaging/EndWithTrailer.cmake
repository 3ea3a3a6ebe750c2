# Appends the 8 zero bytes of an empty album trailer to the installed viewer
# when they are missing (PAGORA_INSTALLED_VIEWER names it).
file(SIZE "${PAGORA_INSTALLED_VIEWER}" size)
math(EXPR last "${size} - 8")
file(READ "${PAGORA_INSTALLED_VIEWER}" tail OFFSET ${last} LIMIT 8 HEX)
if(NOT tail STREQUAL "0000000000000000")
    execute_process(COMMAND sh -c "head -c 8 /dev/zero >> \"$1\"" sh "${PAGORA_INSTALLED_VIEWER}"
        RESULT_VARIABLE failed)
    if(failed)
        message(FATAL_ERROR "cannot append the trailer to ${PAGORA_INSTALLED_VIEWER}")
    endif()
endif()
