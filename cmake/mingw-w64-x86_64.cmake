# The cross build for 64-bit Windows on Debian, with the mingw-w64 compilers of
# the posix thread model (the win32 model has no std::thread or std::mutex,
# which Qt needs). Used to build both Qt for Windows and the program.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(triplet x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
# Qt for Windows, once built, is found where the environment names it first,
# and then where the cache keeps it; its tools are Debian's own Qt's.
if(DEFINED ENV{MORVANTEL_QT_WINDOWS})
    set(MORVANTEL_QT_WINDOWS $ENV{MORVANTEL_QT_WINDOWS} CACHE PATH "Qt built for Windows" FORCE)
endif()
if(MORVANTEL_QT_WINDOWS)
    list(APPEND CMAKE_FIND_ROOT_PATH ${MORVANTEL_QT_WINDOWS})
    set(QT_HOST_PATH /usr)
    set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)
endif()
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
