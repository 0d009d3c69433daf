# The tips file: res/tips/tips.txt is what we edit; the program reads the
# shifted all.txt, built here and placed beside the program.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
if(WIN32)
    set(PAUSORA_TIPS_FILE ${CMAKE_BINARY_DIR}/bin/all.txt)
else()
    set(PAUSORA_TIPS_FILE ${CMAKE_BINARY_DIR}/all.txt)
endif()
cmake_path(GET PAUSORA_TIPS_FILE PARENT_PATH tips_dir)
set(PAUSORA_TIPS_FILE ${PAUSORA_TIPS_FILE} CACHE INTERNAL "The encoded tips file")
set(PAUSORA_TIPS_SOURCE ${CMAKE_SOURCE_DIR}/res/tips/tips.txt CACHE INTERNAL
    "The readable tips file")
add_custom_command(
    OUTPUT ${PAUSORA_TIPS_FILE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${tips_dir}
    COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/encode_tips.py
            --header ${CMAKE_CURRENT_SOURCE_DIR}/tips.h --source ${PAUSORA_TIPS_SOURCE}
            --output ${PAUSORA_TIPS_FILE}
    DEPENDS ${CMAKE_SOURCE_DIR}/tools/encode_tips.py ${CMAKE_CURRENT_SOURCE_DIR}/tips.h
            ${PAUSORA_TIPS_SOURCE}
    COMMENT "Encoding the tips file"
    VERBATIM)
# Each language of po/LINGUAS: its sayings, taken out of po/<code>.po
# (tools/po_tips.py), beside it as all.<tag>.txt.
set(translated_tips)
foreach(code IN LISTS PAUSORA_LANGUAGES)
    execute_process(COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/po_file.py tag ${code}
                    OUTPUT_VARIABLE language OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
    set(po ${PAUSORA_PO_DIR}/${code}.po)
    set(readable ${CMAKE_BINARY_DIR}/tips/tips.${language}.txt)
    set(encoded ${tips_dir}/all.${language}.txt)
    add_custom_command(
        OUTPUT ${encoded}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${tips_dir} ${CMAKE_BINARY_DIR}/tips
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/po_tips.py tips ${po} ${readable}
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_SOURCE_DIR}/tools/encode_tips.py --utf8
                --header ${CMAKE_CURRENT_SOURCE_DIR}/tips.h --source ${readable} --output ${encoded}
        DEPENDS ${CMAKE_SOURCE_DIR}/tools/encode_tips.py ${CMAKE_SOURCE_DIR}/tools/po_tips.py
                ${CMAKE_SOURCE_DIR}/tools/po_file.py ${CMAKE_CURRENT_SOURCE_DIR}/tips.h ${po}
                ${PAUSORA_TIPS_SOURCE}
        COMMENT "Encoding the ${language} sayings"
        VERBATIM)
    list(APPEND translated_tips ${encoded})
endforeach()
set(PAUSORA_TRANSLATED_TIPS ${translated_tips} CACHE INTERNAL "The encoded translated tips files")
add_custom_target(pausora_tips ALL DEPENDS ${PAUSORA_TIPS_FILE} ${translated_tips})
