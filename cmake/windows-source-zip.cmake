# Packs the source of the Qt that ships with the program for Windows, to be
# handed out beside it: Debian's qt6-base source package as apt-get source
# fetched it, the scripts that built it and the toolchain file they used,
# with a README that says how. The same bytes each time: the files in one
# order, of one date and one mode.
#
#   cmake -DQT_SOURCE=DIR -DSCRIPTS=FILES -DROOT=DIR -DEPOCH=SECONDS -DOUT=FILE.zip \
#         -P windows-source-zip.cmake
cmake_minimum_required(VERSION 3.25)
string(REPLACE "," ";" SCRIPTS "${SCRIPTS}")
get_filename_component(name ${OUT} NAME_WLE)
set(stage ${OUT}.stage)
file(REMOVE_RECURSE ${stage})
file(GLOB package RELATIVE ${QT_SOURCE} ${QT_SOURCE}/qt6-base_*)
file(GLOB dsc RELATIVE ${QT_SOURCE} ${QT_SOURCE}/qt6-base_*.dsc)
foreach(file ${package})
    file(COPY ${QT_SOURCE}/${file} DESTINATION ${stage}/${name})
endforeach()
set(files ${package})
foreach(script ${SCRIPTS})
    file(RELATIVE_PATH path ${ROOT} ${script})
    get_filename_component(folder ${path} DIRECTORY)
    file(COPY ${script} DESTINATION ${stage}/${name}/${folder})
    list(APPEND files ${path})
endforeach()
file(WRITE ${stage}/${name}/README.txt "The source of the Qt in Translator for Windows

Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll and the Qt plugins beside them were
built from Debian's qt6-base source package, whose files are here as
`apt-get source qt6-base` fetched them:
  ${dsc}, and the two tar files it names.
On Debian, `dpkg-source -x ${dsc}` unpacks them.

tools/build-qt-windows did the build, on Debian 12, with Debian's mingw-w64
compilers (posix threads) and the toolchain file
cmake/mingw-w64-x86_64.cmake; it names Qt's configure options.
")
list(APPEND files README.txt)
list(SORT files)
list(TRANSFORM files PREPEND ${name}/)
# Zip stores each file's mode and its date in local time: the scripts run,
# the rest is read, and the date is the release's in UTC. Nothing else of
# the files (-X).
execute_process(COMMAND chmod -R u=rwX,go=rX ${stage}/${name}/ COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND touch -d @${EPOCH} ${files} WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE ${OUT})
execute_process(COMMAND ${CMAKE_COMMAND} -E env TZ=UTC zip -X -0 -q ${OUT} ${files}
    WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)
file(REMOVE_RECURSE ${stage})
