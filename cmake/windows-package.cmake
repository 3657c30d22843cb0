# The program for 64-bit Windows, installed into one folder with what it
# loads: Qt's and the mingw-w64 runtime's libraries, found as Windows would
# find them when it starts, and the Qt plugins for Windows' screen and for
# the pictures and the icon, which Qt loads later; packed by CPack as an
# NSIS installer, with a Start-menu entry and an entry in Windows' installed
# programs, and as a zip to run from anywhere.
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_bin ${qt_core_dll} DIRECTORY)
get_filename_component(qt_plugins ${qt_bin}/../plugins ABSOLUTE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE compiler_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(compiler_bin ${compiler_dll} DIRECTORY)
# Where the libraries the program loads are, for the installer and for Wine.
set(windows_library_dirs ${qt_bin} ${compiler_bin} /usr/x86_64-w64-mingw32/lib)

find_program(objdump x86_64-w64-mingw32-objdump REQUIRED)
find_program(makensis makensis REQUIRED)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM windows+pe)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL objdump)
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND ${objdump})
install(TARGETS morvantel RUNTIME_DEPENDENCY_SET libraries RUNTIME DESTINATION .)
# Windows' own libraries are on every machine. CMake matches Windows' names
# in lower case, so on a Linux file system it finds the mingw-w64 runtime's
# but not Qt's, which the program names itself.
install(RUNTIME_DEPENDENCY_SET libraries DESTINATION .
    PRE_INCLUDE_REGEXES "^libstdc\\+\\+" "^libgcc" "^libwinpthread"
    PRE_EXCLUDE_REGEXES ".*"
    DIRECTORIES ${windows_library_dirs})
install(FILES $<TARGET_FILE:Qt6::Core> $<TARGET_FILE:Qt6::Gui> $<TARGET_FILE:Qt6::Widgets>
    DESTINATION .)
install(FILES ${qt_plugins}/platforms/qwindows.dll DESTINATION platforms)
install(FILES ${qt_plugins}/imageformats/qjpeg.dll ${qt_plugins}/imageformats/qico.dll
    DESTINATION imageformats)
# The libraries come with symbols for debugging, of no use on a user's machine.
install(CODE "file(GLOB_RECURSE dlls \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/*.dll\")
    execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded \${dlls} COMMAND_ERROR_IS_FATAL ANY)")
set(CPACK_STRIP_FILES ON)

set(CPACK_GENERATOR NSIS ZIP)
set(CPACK_NSIS_EXECUTABLE ${makensis})
set(CPACK_PACKAGE_NAME morvantel)
set(CPACK_PACKAGE_VENDOR "Tessar Morvantel")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "English / Kethric word translator")
set(CPACK_PACKAGE_FILE_NAME morvantel-${PROJECT_VERSION}-win64)
# Named as the desktop entry names the program: Translator.
set(CPACK_PACKAGE_INSTALL_DIRECTORY Translator)
set(CPACK_PACKAGE_EXECUTABLES morvantel Translator)
set(CPACK_NSIS_EXECUTABLES_DIRECTORY .)
set(CPACK_NSIS_DISPLAY_NAME Translator)
set(CPACK_PACKAGE_INSTALL_REGISTRY_KEY Translator)
set(CPACK_PACKAGE_VERSION ${RELEASE})
set(CPACK_NSIS_PACKAGE_NAME Translator)
set(CPACK_NSIS_INSTALL_ROOT "$PROGRAMFILES64")
set(CPACK_NSIS_INSTALLED_ICON_NAME morvantel.exe)
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/morvantel.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/morvantel.ico)
# Debian's NSIS builds 32-bit installers unless told; Qt 6 runs on 64-bit
# Windows only.
set(CPACK_NSIS_DEFINES "Target amd64-unicode")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# Where cpack leaves the installer, for the tests; include(CPack) renames.
set(windows_installer ${PROJECT_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME}.exe)
include(CPack)
