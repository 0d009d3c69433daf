# System DLLs that only some moments of a run need (the file dialog, the update
# check, sound, the settings window's gradient) are delay-loaded: the loader maps
# them, and what they pull in, at their first call instead of at start-up.
# comdlg32 alone brings the printing stack and its Linux libraries under Wine.
#
#   pausora_delay_load(<target> <dll> <function>...)
#
# links <target> with a delay-import library for the named functions of <dll>.
# A function of <dll> that is not listed fails to link, so nothing falls back to
# loading the DLL at start-up unnoticed.
function(pausora_delay_load target dll)
    if(NOT WIN32)
        return()
    endif()
    set(dir ${CMAKE_BINARY_DIR}/delayload)
    set(def ${dir}/${dll}.def)
    set(lib ${dir}/lib${dll}_delay.a)
    list(JOIN ARGN "\n" exports)
    file(MAKE_DIRECTORY ${dir})
    file(CONFIGURE OUTPUT ${def} CONTENT "LIBRARY ${dll}.dll\nEXPORTS\n${exports}\n")
    find_program(PAUSORA_DLLTOOL NAMES x86_64-w64-mingw32-dlltool
                 REQUIRED)
    add_custom_command(
        OUTPUT ${lib}
        COMMAND ${PAUSORA_DLLTOOL} --input-def ${def} --dllname ${dll}.dll --output-delaylib ${lib}
        DEPENDS ${def}
        VERBATIM)
    add_custom_target(${dll}_delay DEPENDS ${lib})
    add_dependencies(${target} ${dll}_delay)
    target_link_libraries(${target} PUBLIC ${lib} delayimp)
endfunction()
