# Run by CPack once the folder is staged, before the installer is made: the
# uninstaller's lists of the files and folders it deletes, in one order
# whatever order the file system lists them in (CPack's own follow it, so
# that two builds of one commit would differ).
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${CPACK_TEMPORARY_DIRECTORY}
    ${CPACK_TEMPORARY_DIRECTORY}/*)
file(GLOB_RECURSE folders LIST_DIRECTORIES true RELATIVE ${CPACK_TEMPORARY_DIRECTORY}
    ${CPACK_TEMPORARY_DIRECTORY}/*)
list(REMOVE_ITEM folders ${files})
list(SORT files)
# The deepest folder first, as each must be empty when it goes.
list(SORT folders ORDER DESCENDING)
set(CPACK_NSIS_DELETE_FILES "")
foreach(file ${files})
    string(REPLACE "/" "\\" file "${file}")
    string(APPEND CPACK_NSIS_DELETE_FILES "  Delete \"$INSTDIR\\${file}\"\n")
endforeach()
set(CPACK_NSIS_DELETE_DIRECTORIES "")
foreach(folder ${folders})
    string(REPLACE "/" "\\" folder "${folder}")
    string(APPEND CPACK_NSIS_DELETE_DIRECTORIES "  RMDir \"$INSTDIR\\${folder}\"\n")
endforeach()
