# Included at the end of the top-level list, once the test targets exist: the Qt side's
# tests read the built catalogs of every shipped language, and a real window is read in
# German and in Arabic through the accessibility tree.
file(STRINGS ${CMAKE_SOURCE_DIR}/po/LINGUAS tessaron_languages REGEX "^[^#]")
list(JOIN tessaron_languages "," tessaron_languages)
target_compile_definitions(qt_tests PRIVATE TESSARON_LOCALE_TREE="${CMAKE_BINARY_DIR}/locale"
  "TESSARON_LANGUAGES=\"${tessaron_languages}\"")
add_dependencies(qt_tests tessaron_catalogs)

add_test(NAME gui_translated
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/gui/translated_window_test.py
    $<TARGET_FILE_DIR:tessaron>)
set_tests_properties(gui_translated PROPERTIES TIMEOUT 180 LABELS gui)
