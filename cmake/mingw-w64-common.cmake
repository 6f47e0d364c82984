# Shared part of the mingw-w64 toolchain files: the win32-threads compilers, the target's own
# root for libraries, and static runtime libraries so the programs run under Wine without DLLs.
set(CMAKE_C_COMPILER ${CA_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${CA_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${CA_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${CA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
