# Writes the licence files that go with the program for Windows, from the
# texts as the program's own Debian copyright file, Qt's source package and
# the runtime's Debian packages carry them, in Windows' line ends:
#   LICENSE.txt            the program's terms, and what the libraries beside
#                          it come under; the installer's licence page
#   licences/THIRD-PARTY-NOTICES.txt  Qt's notice, the notices of the code of
#                          others the shipped Qt files hold (from Qt's
#                          qt_attribution.json files, by what each file was
#                          built from) and the copyright files of the
#                          runtime's packages
#   licences/LGPL-3.0.txt, licences/GPL-3.0.txt
#
#   cmake -DCOPYRIGHT=debian/copyright -DQT_SOURCE=DIR -DQT_BUILT_FROM=FILE -DQT_FILES=FILES \
#         -DRUNTIME=FILES -DSOURCE_ZIP=NAME -DOUT=DIR -P windows-notices.cmake
#
# QT_SOURCE holds the qt6-base source package Qt was built from, QT_BUILT_FROM
# is Qt's list of the source files each of its libraries was built from
# (tools/list-qt-inputs), QT_FILES names the shipped Qt files by their places
# in the program's folder, RUNTIME the runtime's files, each from the package
# whose copyright file covers it; the lists are separated by commas.
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

# A field of an attribution as text, whether Qt wrote it as a string or as an
# array, whose items are then joined by SEPARATOR; empty where it has none.
function(attribution_text entry field separator result)
    set(text "")
    string(JSON type ERROR_VARIABLE missing TYPE "${entry}" ${field})
    if(missing)
    elseif(type STREQUAL "ARRAY")
        string(JSON length LENGTH "${entry}" ${field})
        math(EXPR last "${length} - 1")
        foreach(index RANGE ${last})
            string(JSON value GET "${entry}" ${field} ${index})
            if(index GREATER 0)
                string(APPEND text "${separator}")
            endif()
            string(APPEND text "${value}")
        endforeach()
    else()
        string(JSON text GET "${entry}" ${field})
    endif()
    set(${result} "${text}" PARENT_SCOPE)
endfunction()

# Qt's files as Windows names them.
string(REPLACE "/" "\\" qt_files "${QT_FILES}")
string(REPLACE "," ", " qt_files "${qt_files}")
string(REPLACE "," ";" QT_FILES "${QT_FILES}")
string(REPLACE "," ";" RUNTIME "${RUNTIME}")
set(work ${OUT}/qt-source)
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${work} ${OUT}/licences)

# The program's own terms.
file(READ ${COPYRIGHT} copyright)
copyright_of_all("${copyright}" program_copyright program_licence)
copyright_field("${copyright}" "License: ${program_licence}" program_terms)

# Qt: its version and copyright as Debian's source package gives them.
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

# The code of others in Qt: each attribution of Qt's qt_attribution.json files
# covers the files it names; in Qt's folder for the code of others
# (src/3rdparty), one that names none covers its whole folder. Elsewhere in
# Qt's own code a folder holds Qt's code too, so an attribution there that
# names no file, as some of Qt 6.4's do, and one whose code Qt generated
# into another file, name their files here; a new one stops the build until
# it is named. Paths are the source's.
set(unnamed_files_qeventdispatcher_cf src/corelib/kernel/qeventdispatcher_cf.mm)
set(unnamed_files_siphash src/corelib/tools/qhash.cpp)
set(unnamed_files_opengl-headers src/gui/opengl/qopenglext.h)
set(unnamed_files_opengl-es2-headers src/gui/opengl/qopengles2ext.h)
set(unnamed_files_grayraster src/gui/painting/qgrayraster.c)
set(unnamed_files_aglfn src/gui/text/qfontsubset_agl.cpp)
set(unnamed_files_vulkan-xml-spec src/gui/vulkan/vk.xml)
# Made from util/gradientgen/webgradients.css.
set(unnamed_files_webgradients src/gui/painting/webgradients_p.h src/gui/painting/webgradients.cpp)
execute_process(COMMAND tar -xJf ${orig} --wildcards "*/qt_attribution.json"
    COMMAND_ERROR_IS_FATAL ANY WORKING_DIRECTORY ${work})
file(GLOB_RECURSE attribution_files ${work}/*/qt_attribution.json)
list(SORT attribution_files)
set(attributions "")
foreach(attribution_file ${attribution_files})
    file(READ ${attribution_file} json)
    get_filename_component(folder ${attribution_file} DIRECTORY)
    # The folder in the source: without the work folder and the source's own.
    file(RELATIVE_PATH folder ${work} ${folder})
    string(REGEX REPLACE "^[^/]+/?(.*)" "\\1" folder "${folder}")
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
        list(APPEND attributions ${id})
        set(attribution_${id} "${entry}")
        set(attribution_file_${id} ${attribution_file})
        attribution_text("${entry}" Files " " names)
        string(REGEX REPLACE "[ \t\n,]+" ";" names "${names}")
        list(REMOVE_ITEM names "")
        set(paths "")
        foreach(name ${names})
            get_filename_component(path /${folder}/${name} ABSOLUTE)
            list(APPEND paths ${path})
        endforeach()
        foreach(path ${unnamed_files_${id}})
            list(APPEND paths /${path})
        endforeach()
        if(NOT paths AND folder MATCHES "^src/3rdparty/")
            set(paths /${folder})
        elseif(NOT paths AND folder MATCHES "^src/")
            message(FATAL_ERROR "Qt's attribution '${id}' in ${folder} names no file: "
                "name the files it covers in ${CMAKE_CURRENT_LIST_FILE}")
        endif()
        foreach(path ${paths})
            list(APPEND "covered_by_${path}" ${id})
        endforeach()
        list(APPEND "attributions_in_/${folder}" ${id})
    endforeach()
endforeach()

# Which of them the shipped Qt files hold: what Qt's build recorded each
# library was built from (tools/list-qt-inputs), a file and each folder above
# it looked up among the covered paths. In Qt's folder for the code of others
# (src/3rdparty) a file that no attribution names, as Qt's lists leave out a
# header here and there, comes under the attributions of its folder; one
# without any stops the build rather than going out without its notice.
file(STRINGS ${QT_BUILT_FROM} built_from)
foreach(file ${QT_FILES})
    if(file MATCHES "/")
        set(built_from_${file} plugins/${file})
    else()
        set(built_from_${file} bin/${file})
    endif()
    set(library_of_${built_from_${file}} ${file})
    set(holds_${file} "")
endforeach()
foreach(line ${built_from})
    string(FIND "${line}" " " blank)
    string(SUBSTRING "${line}" 0 ${blank} library)
    if(NOT DEFINED library_of_${library})
        continue()
    endif()
    set(file ${library_of_${library}})
    math(EXPR blank "${blank} + 1")
    string(SUBSTRING "${line}" ${blank} -1 path)
    set(${file}_recorded TRUE)
    set(path /${path})
    set(ids "")
    set(folder_ids "")
    while(NOT path STREQUAL "/")
        if(DEFINED "covered_by_${path}")
            list(APPEND ids ${covered_by_${path}})
        endif()
        if(NOT folder_ids AND DEFINED "attributions_in_${path}")
            set(folder_ids ${attributions_in_${path}})
        endif()
        get_filename_component(path ${path} DIRECTORY)
    endwhile()
    if(NOT ids AND line MATCHES " src/3rdparty/")
        if(NOT folder_ids)
            message(FATAL_ERROR "${file} holds ${line}, which no attribution of Qt's covers")
        endif()
        set(ids ${folder_ids})
    endif()
    foreach(id ${ids})
        list(APPEND holds_${file} ${id})
        list(APPEND files_of_${id} ${file})
    endforeach()
endforeach()
foreach(file ${QT_FILES})
    if(NOT ${file}_recorded)
        message(FATAL_ERROR "${QT_BUILT_FROM} does not say what ${built_from_${file}} was built from")
    endif()
endforeach()
# In the order of the files that hold them, each once.
set(parts "")
foreach(file ${QT_FILES})
    foreach(id ${attributions})
        if(id IN_LIST holds_${file})
            list(APPEND parts ${id})
        endif()
    endforeach()
endforeach()
list(REMOVE_DUPLICATES parts)

# The texts each attribution names, taken out of the source in one pass.
set(all_texts "")
foreach(id ${parts})
    get_filename_component(folder ${attribution_file_${id}} DIRECTORY)
    set(texts_${id} "")
    foreach(field CopyrightFile LicenseFile LicenseFiles)
        attribution_text("${attribution_${id}}" ${field} ";" names)
        foreach(name ${names})
            get_filename_component(path ${folder}/${name} ABSOLUTE)
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
foreach(id ${parts})
    foreach(field Name Version Homepage Copyright License)
        attribution_text("${attribution_${id}}" ${field} "\n" ${field})
    endforeach()
    string(APPEND qt_notices "\n--- ${Name}")
    if(Version)
        string(APPEND qt_notices " ${Version}")
    endif()
    list(REMOVE_DUPLICATES files_of_${id})
    string(REPLACE "/" "\\" in "${files_of_${id}}")
    string(REPLACE ";" ", " in "${in}")
    string(APPEND qt_notices "\nIn ${in}\n")
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
