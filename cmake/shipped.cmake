# What we ship is linked so that Wine (and Windows) can map it instead of copying it:
# sections start on page boundaries in the file as well as in memory. Debug
# information and symbols go to a separate <name>.debug file beside the binary,
# which keeps a link to it for debuggers.
function(pausora_shipped target)
    if(NOT WIN32)
        return()
    endif()
    target_link_options(${target} PRIVATE -Wl,--file-alignment,0x1000)
    add_custom_command(
        TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE:${target}>
                $<TARGET_FILE_DIR:${target}>/$<TARGET_FILE_BASE_NAME:${target}>.debug
        COMMAND ${CMAKE_OBJCOPY} --strip-all
                --add-gnu-debuglink=$<TARGET_FILE_BASE_NAME:${target}>.debug
                $<TARGET_FILE_NAME:${target}>
        WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
        VERBATIM)
endfunction()
