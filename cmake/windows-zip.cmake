# Run by CPack once the installer is made: the same folder as a zip to run
# from anywhere, beside the installer. Zipped here, not by CPack, whose zip
# takes the files in the order the file system lists them; here they go in
# one order, with their dates and modes as the install step set them, and
# nothing else of them (-X), the dates read in UTC.
get_filename_component(stage ${CPACK_TEMPORARY_DIRECTORY} DIRECTORY)
get_filename_component(name ${CPACK_TEMPORARY_DIRECTORY} NAME)
file(GLOB_RECURSE entries LIST_DIRECTORIES true RELATIVE ${stage} ${CPACK_TEMPORARY_DIRECTORY}/*)
list(SORT entries)
set(zip ${CPACK_PACKAGE_DIRECTORY}/${name}.zip)
file(REMOVE ${zip})
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -q ${zip} ${entries}
    WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
