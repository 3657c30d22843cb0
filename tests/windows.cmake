# Under Wine: the suites offscreen, the window suites on Windows' own platform
# too, the looks there at three DPIs; and the installer, as a person uses it.
target_compile_definitions(tst_looks PRIVATE
    REFERENCE_PICTURES="Z:${CMAKE_CURRENT_SOURCE_DIR}/reference-pictures/windows")
set(wine sh ${CMAKE_CURRENT_SOURCE_DIR}/wine.sh)
add_test(NAME tst_translate COMMAND ${wine} none $<TARGET_FILE:tst_translate>)
foreach(suite tst_shell tst_main_window tst_secondary_windows)
    add_test(NAME ${suite} COMMAND ${wine} offscreen $<TARGET_FILE:${suite}>)
endforeach()
foreach(suite tst_main_window tst_secondary_windows tst_looks)
    add_test(NAME ${suite}-windows COMMAND ${wine} windows $<TARGET_FILE:${suite}>)
endforeach()
foreach(dpi 120 144)
    add_test(NAME tst_looks-windows-${dpi}dpi COMMAND ${wine} windows $<TARGET_FILE:tst_looks>)
    set_tests_properties(tst_looks-windows-${dpi}dpi PROPERTIES ENVIRONMENT LOGPIXELS=${dpi})
endforeach()
# A colour scheme where menu text, window text and button face differ.
add_test(NAME tst_looks-windows-scheme
    COMMAND ${wine} windows $<TARGET_FILE:tst_looks> systemColoursFollowScheme)
# Windows' dark mode, which Qt follows from 6.5 on, changes no colour.
add_test(NAME tst_looks-windows-dark COMMAND ${wine} windows $<TARGET_FILE:tst_looks>)
# A fresh copy of the source builds what this build hands out, to the byte.
get_filename_component(installer ${windows_installer} NAME_WLE)
add_test(NAME fresh-tree COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/fresh_tree.sh ${PROJECT_SOURCE_DIR}
    ${PROJECT_BINARY_DIR} morvantel.exe ${installer}.exe ${installer}.zip ${source_zip})
add_test(NAME wine-installed COMMAND sh ${CMAKE_CURRENT_SOURCE_DIR}/wine_installed.sh
    ${windows_installer} ${PROJECT_BINARY_DIR}/screenshots)
get_property(suites DIRECTORY PROPERTY TESTS)
list(JOIN windows_library_dirs "\\;" wine_path)
set_tests_properties(${suites} PROPERTIES LABELS windows RESOURCE_LOCK wine TIMEOUT 300
    ENVIRONMENT_MODIFICATION "WINEPREFIX=set:${PROJECT_BINARY_DIR}/wine;WINEPATH=set:${wine_path}")
# The scheme and the mode stay in the prefix, so each has one of its own.
set_tests_properties(tst_looks-windows-dark PROPERTIES ENVIRONMENT DARK_MODE=1
    ENVIRONMENT_MODIFICATION "WINEPREFIX=set:${PROJECT_BINARY_DIR}/wine-dark;WINEPATH=set:${wine_path}")
set_tests_properties(tst_looks-windows-scheme PROPERTIES ENVIRONMENT
    "COLOURS=MenuText=255 0 0\;WindowText=0 0 255\;ButtonFace=0 128 0\;ActiveBorder=255 255 0\;Window=0 255 255"
    ENVIRONMENT_MODIFICATION "WINEPREFIX=set:${PROJECT_BINARY_DIR}/wine-scheme;WINEPATH=set:${wine_path}")
