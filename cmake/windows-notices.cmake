# Writes the licence files that go with the program for Windows, from the
# texts as the program's own Debian copyright file, Qt's source package and
# the runtime's Debian packages carry them, in Windows' line ends:
#   LICENSE.txt            the program's terms, and what the libraries beside
#                          it come under; the installer's licence page
#   licences/THIRD-PARTY-NOTICES.txt  Qt's notice, the notices of the code of
#                          others Qt holds (its qt_attribution.json files) and
#                          the copyright files of the runtime's packages
#   licences/LGPL-3.0.txt, licences/GPL-3.0.txt
#
#   cmake -DCOPYRIGHT=debian/copyright -DQT_SOURCE=DIR -DQT_FILES=FILES -DQT_PARTS=IDS \
#         -DRUNTIME=FILES -DSOURCE_ZIP=NAME -DOUT=DIR -P windows-notices.cmake
#
# QT_SOURCE holds the qt6-base source package Qt was built from, QT_FILES
# names the shipped Qt files by their places in the folder, QT_PARTS the
# ids of the attributions of the code those files hold, RUNTIME the
# runtime's files, each from the package whose copyright file covers it; the
# lists are separated by commas.
cmake_minimum_required(VERSION 3.25)

# A paragraph's text from a Debian copyright file: lines indented by one blank,
# " ." for an empty line.
function(copyright_field text name result)
    string(REGEX MATCH "\n${name}\n(( [^\n]*\n?)+)" match "${text}")
    if(NOT match)
        message(FATAL_ERROR "no paragraph '${name}' with a text")
    endif()
    string(REGEX REPLACE "(^|\n) \\.?" "\\1" body "${CMAKE_MATCH_1}")
    set(${result} "${body}" PARENT_SCOPE)
endfunction()

# The copyright and the licence of a copyright file's "Files: *".
function(copyright_of_all text copyright licence)
    if(NOT text MATCHES "\nFiles: \\*\nCopyright: ([^\n]*)\nLicense: ([^\n]*)")
        message(FATAL_ERROR "no 'Files: *' stanza")
    endif()
    set(${copyright} "${CMAKE_MATCH_1}" PARENT_SCOPE)
    set(${licence} "${CMAKE_MATCH_2}" PARENT_SCOPE)
endfunction()

function(write_windows_text file text)
    string(REPLACE "\r" "" text "${text}")
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE ${file} "${text}")
endfunction()

# Qt's files as Windows names them.
string(REPLACE "/" "\\" qt_files "${QT_FILES}")
string(REPLACE "," ", " qt_files "${qt_files}")
string(REPLACE "," ";" QT_PARTS "${QT_PARTS}")
string(REPLACE "," ";" RUNTIME "${RUNTIME}")
set(work ${OUT}/qt-source)
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${work} ${OUT}/licences)

# The program's own terms.
file(READ ${COPYRIGHT} copyright)
copyright_of_all("${copyright}" program_copyright program_licence)
copyright_field("${copyright}" "License: ${program_licence}" program_terms)

# Qt: its version and copyright as Debian's source package gives them, and the
# attributions of the code of others in it.
file(GLOB dsc ${QT_SOURCE}/qt6-base_*.dsc)
file(GLOB orig ${QT_SOURCE}/qt6-base_*.orig.tar.xz)
file(GLOB packaging ${QT_SOURCE}/qt6-base_*.debian.tar.xz)
file(STRINGS ${dsc} qt_package_version REGEX "^Version: ")
string(REGEX REPLACE "^Version: " "" qt_package_version "${qt_package_version}")
string(REGEX REPLACE "\\+.*" "" qt_version "${qt_package_version}")
execute_process(COMMAND tar -xJf ${packaging} debian/copyright
    COMMAND_ERROR_IS_FATAL ANY WORKING_DIRECTORY ${work})
file(READ ${work}/debian/copyright qt_copyright_file)
copyright_of_all("${qt_copyright_file}" qt_copyright qt_licence)
execute_process(COMMAND tar -xJf ${orig} --wildcards "*/qt_attribution.json"
    COMMAND_ERROR_IS_FATAL ANY WORKING_DIRECTORY ${work})
file(GLOB_RECURSE attribution_files ${work}/*/qt_attribution.json)
foreach(attribution_file ${attribution_files})
    file(READ ${attribution_file} json)
    get_filename_component(folder ${attribution_file} DIRECTORY)
    # A file holds one attribution or a list of them.
    string(JSON type TYPE "${json}")
    if(type STREQUAL "OBJECT")
        set(json "[${json}]")
    endif()
    string(JSON count LENGTH "${json}")
    math(EXPR last "${count} - 1")
    foreach(index RANGE ${last})
        string(JSON entry GET "${json}" ${index})
        string(JSON id GET "${entry}" Id)
        if(id IN_LIST QT_PARTS)
            set(attribution_${id} "${entry}")
            set(folder_${id} ${folder})
        endif()
    endforeach()
endforeach()

# The texts each attribution names, taken out of the source in one pass.
set(all_texts "")
foreach(id ${QT_PARTS})
    if(NOT DEFINED attribution_${id})
        message(FATAL_ERROR "Qt's source has no attribution '${id}'")
    endif()
    set(texts_${id} "")
    foreach(field CopyrightFile LicenseFile LicenseFiles)
        string(JSON type ERROR_VARIABLE missing TYPE "${attribution_${id}}" ${field})
        if(missing)
            continue()
        endif()
        set(names "")
        if(type STREQUAL "ARRAY")
            string(JSON length LENGTH "${attribution_${id}}" ${field})
            math(EXPR last "${length} - 1")
            foreach(index RANGE ${last})
                string(JSON name GET "${attribution_${id}}" ${field} ${index})
                list(APPEND names ${name})
            endforeach()
        else()
            string(JSON names GET "${attribution_${id}}" ${field})
        endif()
        foreach(name ${names})
            get_filename_component(path ${folder_${id}}/${name} ABSOLUTE)
            file(RELATIVE_PATH path ${work} ${path})
            list(APPEND texts_${id} ${path})
            list(APPEND all_texts ${path})
        endforeach()
    endforeach()
endforeach()
list(REMOVE_DUPLICATES all_texts)
execute_process(COMMAND tar -xJf ${orig} ${all_texts}
    COMMAND_ERROR_IS_FATAL ANY WORKING_DIRECTORY ${work})

set(qt_notices "")
set(texts_written "")
foreach(id ${QT_PARTS})
    foreach(field Name Version Homepage Copyright License)
        string(JSON ${field} ERROR_VARIABLE missing GET "${attribution_${id}}" ${field})
        if(missing)
            set(${field} "")
        endif()
    endforeach()
    string(APPEND qt_notices "\n--- ${Name}")
    if(Version)
        string(APPEND qt_notices " ${Version}")
    endif()
    string(APPEND qt_notices "\n")
    foreach(field Homepage Copyright)
        if(NOT "${${field}}" STREQUAL "")
            string(APPEND qt_notices "${${field}}\n")
        endif()
    endforeach()
    string(APPEND qt_notices "Licence: ${License}\n")
    # Each text in full the first time.
    foreach(path ${texts_${id}})
        if(path IN_LIST texts_written)
            string(APPEND qt_notices "\n(The text of ${path}, as above.)\n")
        else()
            file(READ ${work}/${path} body)
            string(APPEND qt_notices "\n${body}\n")
            list(APPEND texts_written ${path})
        endif()
    endforeach()
endforeach()

# The runtime, by the Debian package each file comes from.
set(runtime_notices "")
set(runtime_packages "")
foreach(file ${RUNTIME})
    execute_process(COMMAND dpkg-query -S ${file} OUTPUT_VARIABLE owner
        COMMAND_ERROR_IS_FATAL ANY OUTPUT_STRIP_TRAILING_WHITESPACE)
    string(REGEX REPLACE ":.*" "" package "${owner}")
    get_filename_component(name ${file} NAME)
    if(name MATCHES "\\.o$")
        set(name "the start-up code in morvantel.exe")
    endif()
    list(APPEND files_of_${package} ${name})
    list(APPEND runtime_packages ${package})
endforeach()
list(REMOVE_DUPLICATES runtime_packages)
foreach(package ${runtime_packages})
    execute_process(COMMAND dpkg-query -W -f=\${Version} ${package} OUTPUT_VARIABLE version
        COMMAND_ERROR_IS_FATAL ANY)
    file(READ /usr/share/doc/${package}/copyright body)
    list(JOIN files_of_${package} ", " names)
    string(APPEND runtime_notices "\n\n=== ${names}: from Debian's ${package} ${version}, "
        "whose copyright file follows as it stands\n\n${body}")
endforeach()

write_windows_text(${OUT}/LICENSE.txt "Translator
Copyright ${program_copyright}

${program_terms}
These terms cover the program itself, morvantel.exe, and its pictures. They
do not cover the libraries beside it in its folder, which come under their
own licences:

- Qt ${qt_version}, Copyright ${qt_copyright}, is used under the
  GNU Lesser General Public License version 3 (licences\\LGPL-3.0.txt, which
  builds on licences\\GPL-3.0.txt), in
  ${qt_files}.
  You may put a Qt ${qt_version} of your own in their place. Qt holds code of
  others, under the notices it names. They were built from Debian's qt6-base
  ${qt_package_version} source package. It is handed out with this program,
  with the script that built them, as ${SOURCE_ZIP}.
- libstdc++-6.dll and libgcc_s_seh-1.dll are GCC's runtime libraries, under
  the GNU General Public License version 3 with the GCC Runtime Library
  Exception, version 3.1.
- libwinpthread-1.dll is mingw-w64's winpthreads, under the MIT licence, and
  morvantel.exe holds mingw-w64's start-up code, under the Zope Public
  License 2.1.

licences\\THIRD-PARTY-NOTICES.txt gives each one's copyright notices and
licence in full.
")

write_windows_text(${OUT}/licences/THIRD-PARTY-NOTICES.txt "Third-party software in Translator for Windows

=== Qt ${qt_version}: ${qt_files}

Copyright ${qt_copyright}
Qt is used under the GNU Lesser General Public License version 3
(LGPL-3.0.txt), which builds on the GNU General Public License version 3
(GPL-3.0.txt). Its source as built here is Debian's qt6-base
${qt_package_version} source package, in ${SOURCE_ZIP}.

Qt holds the following code of others, under the notices below, as Qt's
qt_attribution.json files give them.
${qt_notices}${runtime_notices}")

foreach(licence LGPL-3 GPL-3)
    file(READ /usr/share/common-licenses/${licence} body)
    write_windows_text(${OUT}/licences/${licence}.0.txt "${body}")
endforeach()
file(REMOVE_RECURSE ${work})
