# The translations: translations/quillory_<lang>.ts (Qt Linguist's format) become .qm files in the
# data folder's translations/, which `make dist` copies beside the program and the install rules
# put in share/quillory. `cmake --build build --target update-translations` collects new texts
# from the sources into the .ts files (texts of Qt-free tables are marked QY_TRANSLATE_NOOP).
find_program(QUILLORY_LRELEASE NAMES lrelease lrelease-qt6 PATHS /usr/lib/qt6/bin REQUIRED)
find_program(QUILLORY_LUPDATE NAMES lupdate lupdate-qt6 PATHS /usr/lib/qt6/bin)
file(GLOB translation_sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/translations/*.ts)
set(translation_outputs)
foreach(ts IN LISTS translation_sources)
  get_filename_component(stem ${ts} NAME_WE)
  set(qm ${CMAKE_BINARY_DIR}/dist-data/translations/${stem}.qm)
  add_custom_command(OUTPUT ${qm}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/dist-data/translations
                     COMMAND ${QUILLORY_LRELEASE} -silent ${ts} -qm ${qm}
                     DEPENDS ${ts}
                     COMMENT "Compiling the translation ${stem}")
  list(APPEND translation_outputs ${qm})
endforeach()
add_custom_target(translations ALL DEPENDS ${translation_outputs})
if(QUILLORY_LUPDATE)
  add_custom_target(update-translations
    COMMAND ${QUILLORY_LUPDATE} -silent -locations none -no-obsolete
            -I ${CMAKE_CURRENT_SOURCE_DIR} -tr-function-alias QT_TRANSLATE_NOOP+=QY_TRANSLATE_NOOP
            app controls richtext platform -ts ${translation_sources}
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR})
endif()
