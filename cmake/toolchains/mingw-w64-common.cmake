# What both MinGW-w64 toolchains share; BREVANT_MINGW_TRIPLET names the target.
set(CMAKE_C_COMPILER ${BREVANT_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${BREVANT_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${BREVANT_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${BREVANT_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# The programs run alone on a clean Windows: the C and C++ runtimes and the
# threads library are linked in, so no MinGW DLL has to stand beside them.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
# A 32-bit program may then use 4 GB on 64-bit Windows instead of 2 GB: a
# large input fits where it would not.
if(BREVANT_MINGW_TRIPLET MATCHES "^i686")
  string(APPEND CMAKE_EXE_LINKER_FLAGS_INIT " -Wl,--large-address-aware")
endif()
# Tests and the tool run under Wine on the build machine.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  if(BREVANT_MINGW_TRIPLET MATCHES "^x86_64")
    find_program(BREVANT_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
  else()
    find_program(BREVANT_WINE NAMES wine PATHS /usr/lib/wine NO_DEFAULT_PATH)
  endif()
  if(BREVANT_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${BREVANT_WINE})
  endif()
endif()
