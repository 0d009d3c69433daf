# The program's translations: po/<lang>.po for each language that po/LINGUAS
# names, merged by Wine's resource compiler into copies of the dialogs, menus
# and strings of res/*.rc in that language (tools/wrc_resources.py). They are
# linked beside the English resources, which windres builds from
# res/pausora.rc as always; Windows picks the language. With no language in
# po/LINGUAS nothing is added.
#
#   pausora_translations(<target>)
#
# links the translations into <target>.
set(PAUSORA_PO_DIR ${PROJECT_SOURCE_DIR}/po)
set(PAUSORA_LANGUAGES)
if(EXISTS ${PAUSORA_PO_DIR}/LINGUAS)
    set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PAUSORA_PO_DIR}/LINGUAS)
    file(STRINGS ${PAUSORA_PO_DIR}/LINGUAS linguas_lines)
    foreach(line IN LISTS linguas_lines)
        string(REGEX REPLACE "#.*" "" line "${line}")
        string(REGEX MATCHALL "[^ \t]+" words "${line}")
        list(APPEND PAUSORA_LANGUAGES ${words})
    endforeach()
endif()

if(WIN32 AND PAUSORA_LANGUAGES)
    find_package(Python3 REQUIRED COMPONENTS Interpreter)
    find_program(PAUSORA_WRC NAMES wrc PATHS /usr/lib/wine)
    find_program(PAUSORA_MSGFMT NAMES msgfmt)
    if(NOT PAUSORA_WRC OR NOT PAUSORA_MSGFMT)
        message(FATAL_ERROR "The translations need wrc (package wine64-tools) and msgfmt "
                            "(package gettext): run scripts/setup.sh")
    endif()

    set(dir ${CMAKE_BINARY_DIR}/translations)
    file(MAKE_DIRECTORY ${dir}/po)
    configure_file(${PAUSORA_PO_DIR}/LINGUAS ${dir}/po/LINGUAS COPYONLY)
    set(mo_files)
    foreach(language IN LISTS PAUSORA_LANGUAGES)
        add_custom_command(
            OUTPUT ${dir}/po/${language}.mo
            COMMAND ${PAUSORA_MSGFMT} --check-format -o ${dir}/po/${language}.mo
                    ${PAUSORA_PO_DIR}/${language}.po
            DEPENDS ${PAUSORA_PO_DIR}/${language}.po
            COMMENT "Compiling the ${language} translation"
            VERBATIM)
        list(APPEND mo_files ${dir}/po/${language}.mo)
    endforeach()
    file(GLOB resource_scripts CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/res/*.rc
         ${PROJECT_SOURCE_DIR}/res/*.h)
    add_custom_command(
        OUTPUT ${dir}/translations.res
        COMMAND ${CMAKE_COMMAND} -E env WRC=${PAUSORA_WRC} ${Python3_EXECUTABLE}
                ${PROJECT_SOURCE_DIR}/tools/wrc_resources.py res ${dir}/po ${dir}/translations.res
        DEPENDS ${mo_files} ${dir}/po/LINGUAS ${resource_scripts}
                ${PROJECT_SOURCE_DIR}/tools/wrc_resources.py
        COMMENT "Translating the resources: ${PAUSORA_LANGUAGES}"
        VERBATIM)
    add_custom_command(
        OUTPUT ${dir}/translations.o
        COMMAND ${CMAKE_RC_COMPILER} -J res -O coff -i ${dir}/translations.res
                -o ${dir}/translations.o
        DEPENDS ${dir}/translations.res
        VERBATIM)
    add_custom_target(pausora_translations DEPENDS ${dir}/translations.o)
    set(PAUSORA_TRANSLATIONS_OBJECT ${dir}/translations.o)
endif()

function(pausora_translations target)
    if(PAUSORA_TRANSLATIONS_OBJECT)
        target_sources(${target} PRIVATE ${PAUSORA_TRANSLATIONS_OBJECT})
        add_dependencies(${target} pausora_translations)
    endif()
endfunction()
