# The program for 64-bit Windows, installed into one folder with what it
# loads: Qt's and the mingw-w64 runtime's libraries, found as Windows would
# find them when it starts, and the Qt plugins for Windows' screen and for
# the pictures and the icon, which Qt loads later; packed by CPack as an
# NSIS installer, with a Start-menu entry and an entry in Windows' installed
# programs, and as a zip to run from anywhere; with their licences, and
# beside them a zip of the source of their Qt.
get_target_property(qt_core_dll Qt6::Core IMPORTED_LOCATION_RELEASE)
get_filename_component(qt_bin ${qt_core_dll} DIRECTORY)
get_filename_component(qt_plugins ${qt_bin}/../plugins ABSOLUTE)
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=libstdc++-6.dll
    OUTPUT_VARIABLE compiler_dll OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(compiler_bin ${compiler_dll} DIRECTORY)
# Where the libraries the program loads are, for the installer and for Wine.
set(windows_library_dirs ${qt_bin} ${compiler_bin} /usr/x86_64-w64-mingw32/lib)

# The same bytes from every build: the linker stamps a date into the program,
# and takes the release's (the changelog's) where it is given one.
execute_process(COMMAND dpkg-parsechangelog -l ${PROJECT_SOURCE_DIR}/debian/changelog -S Timestamp
    OUTPUT_VARIABLE epoch OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
set_property(TARGET morvantel PROPERTY CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env SOURCE_DATE_EPOCH=${epoch})

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
# Qt's files, by their places in the folder, which the licences name.
set(qt_files "")
foreach(module Core Gui Widgets)
    get_target_property(library Qt6::${module} IMPORTED_LOCATION_RELEASE)
    install(FILES ${library} DESTINATION .)
    get_filename_component(name ${library} NAME)
    list(APPEND qt_files ${name})
endforeach()
foreach(plugin platforms/qwindows.dll imageformats/qico.dll imageformats/qjpeg.dll)
    get_filename_component(folder ${plugin} DIRECTORY)
    install(FILES ${qt_plugins}/${plugin} DESTINATION ${folder})
    list(APPEND qt_files ${plugin})
endforeach()

# The licence files, written when the build is configured, from the texts
# their sources carry: the program's terms, and the notices of what the folder
# holds besides: the code of others in the Qt files above, by what Qt's build
# recorded they were built from, and the runtime's files, by the packages
# whose copyright files cover them (mingw-w64's start-up code is in the
# program).
execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=crt2.o
    OUTPUT_VARIABLE startup_code OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(startup_code ${startup_code} REALPATH)
set(runtime_files ${compiler_bin}/libstdc++-6.dll ${compiler_bin}/libgcc_s_seh-1.dll
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll ${startup_code})
get_filename_component(qt_source ${qt_bin}/../source ABSOLUTE)
get_filename_component(qt_built_from ${qt_bin}/../built-from ABSOLUTE)
file(GLOB qt_source_files ${qt_source}/qt6-base_*)
set(notices ${PROJECT_BINARY_DIR}/notices)
set(source_zip morvantel-${PROJECT_VERSION}-win64-source.zip)
list(JOIN qt_files "," qt_files)
list(JOIN runtime_files "," runtime_files)
# CPack wants the installer's licence page when it is configured.
set(notices_script ${CMAKE_CURRENT_LIST_DIR}/windows-notices.cmake)
execute_process(COMMAND ${CMAKE_COMMAND} -DCOPYRIGHT=${PROJECT_SOURCE_DIR}/debian/copyright
        -DQT_SOURCE=${qt_source} -DQT_BUILT_FROM=${qt_built_from} -DQT_FILES=${qt_files}
        -DRUNTIME=${runtime_files}
        -DSOURCE_ZIP=${source_zip} -DOUT=${notices} -P ${notices_script}
    COMMAND_ERROR_IS_FATAL ANY)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS
    ${notices_script} ${PROJECT_SOURCE_DIR}/debian/copyright ${qt_source_files} ${qt_built_from})
install(FILES ${notices}/LICENSE.txt DESTINATION .)
install(FILES ${notices}/licences/THIRD-PARTY-NOTICES.txt ${notices}/licences/LGPL-3.0.txt
    ${notices}/licences/GPL-3.0.txt DESTINATION licences)
set(CPACK_RESOURCE_FILE_LICENSE ${notices}/LICENSE.txt)

# The source of that Qt, to be handed out beside the installer.
set(qt_build_files ${PROJECT_SOURCE_DIR}/tools/build-qt-windows ${PROJECT_SOURCE_DIR}/tools/add-source-lists
    ${PROJECT_SOURCE_DIR}/tools/list-qt-inputs
    ${PROJECT_SOURCE_DIR}/cmake/mingw-w64-x86_64.cmake)
list(JOIN qt_build_files "," qt_build_files_argument)
add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/${source_zip}
    COMMAND ${CMAKE_COMMAND} -DQT_SOURCE=${qt_source} -DSCRIPTS=${qt_build_files_argument}
        -DROOT=${PROJECT_SOURCE_DIR} -DEPOCH=${epoch} -DOUT=${PROJECT_BINARY_DIR}/${source_zip}
        -P ${CMAKE_CURRENT_LIST_DIR}/windows-source-zip.cmake
    DEPENDS ${CMAKE_CURRENT_LIST_DIR}/windows-source-zip.cmake ${qt_source_files} ${qt_build_files}
    VERBATIM)
add_custom_target(source-zip ALL DEPENDS ${PROJECT_BINARY_DIR}/${source_zip})

# The libraries come with symbols for debugging, of no use on a user's
# machine. Stripped, and packed, the same way each time: dated as the release
# is (strip stamps the date into a Windows executable), the folders of one
# mode whatever the umask.
install(CODE "set(ENV{SOURCE_DATE_EPOCH} ${epoch})
    set(folder \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
    file(GLOB_RECURSE libraries \${folder}/*.dll)
    execute_process(COMMAND ${CMAKE_STRIP} --strip-unneeded \${libraries} COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND ${CMAKE_STRIP} --strip-all \${folder}/morvantel.exe COMMAND_ERROR_IS_FATAL ANY)
    execute_process(COMMAND chmod -R u=rwX,go=rX \${folder} COMMAND_ERROR_IS_FATAL ANY)
    file(GLOB_RECURSE files LIST_DIRECTORIES true \${folder}/*)
    execute_process(COMMAND touch -h -d @${epoch} \${files} COMMAND_ERROR_IS_FATAL ANY)")

set(CPACK_GENERATOR NSIS)
set(CPACK_PRE_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/windows-uninstall-list.cmake)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/windows-zip.cmake)
# The NSIS lines below reach the installer as they stand.
set(CPACK_VERBATIM_VARIABLES ON)
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
set(CPACK_NSIS_URL_INFO_ABOUT ${PROJECT_HOMEPAGE_URL})
set(CPACK_NSIS_MANIFEST_DPI_AWARE ON)
# Debian's NSIS builds 32-bit installers unless told; Qt 6 runs on 64-bit
# Windows only. A reinstall goes where the first install went, and over it:
# the files are the same, and an uninstall first fails where the user has
# deleted the folder. Files keep no dates, which differ from build to build.
# The keys are the ones CPack's installer writes.
set(folder_key "Software\\${CPACK_PACKAGE_VENDOR}\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}")
set(uninstall_key
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\${CPACK_PACKAGE_INSTALL_REGISTRY_KEY}")
set(CPACK_NSIS_DEFINES "Target amd64-unicode
  InstallDirRegKey HKLM \"${folder_key}\" \"\"
  SetDateSave off
  !include FileFunc.nsh
  VIProductVersion ${PROJECT_VERSION}
  VIAddVersionKey ProductName Translator
  VIAddVersionKey CompanyName \"${CPACK_PACKAGE_VENDOR}\"
  VIAddVersionKey FileDescription \"Translator ${RELEASE} Setup\"
  VIAddVersionKey FileVersion ${RELEASE}
  VIAddVersionKey ProductVersion ${RELEASE}
  Function un.onUninstSuccess
    DeleteRegKey /ifempty SHCTX \"Software\\${CPACK_PACKAGE_VENDOR}\"
  FunctionEnd")
# Numbers as Windows reads them: the size in KiB, and no Modify or Repair.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  \${GetSize} \"$INSTDIR\" \"/S=0K\" $0 $1 $2
  WriteRegDWORD SHCTX \"${uninstall_key}\" EstimatedSize $0
  WriteRegDWORD SHCTX \"${uninstall_key}\" NoModify 1
  WriteRegDWORD SHCTX \"${uninstall_key}\" NoRepair 1")
# Windows keeps a running program's file; the uninstaller removes it first,
# and where it cannot, leaves everything, the entry too, and says why.
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  ClearErrors
  Delete \"$INSTDIR\\morvantel.exe\"
  IfErrors 0 +4
    MessageBox MB_OK|MB_ICONSTOP \"Translator is running. Close it, then uninstall it again.\" /SD IDOK
    SetErrorLevel 2
    Abort")
# Where cpack leaves the installer, for the tests; include(CPack) renames.
set(windows_installer ${PROJECT_BINARY_DIR}/${CPACK_PACKAGE_FILE_NAME}.exe)
include(CPack)
