# Cross build of the window program for 64-bit Windows with mingw-w64's posix-threads compilers
# (Debian: g++-mingw-w64-x86-64-posix; Qt 6 needs them), against the Qt for Windows that
# scripts/build-qt-windows builds and the .xlsx libraries of scripts/build-windows-libs:
#   cmake -S . -B build/win-gui-release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64-posix.cmake \
#         -DCA_WINDOWS_QT=<Qt folder> -DCA_WINDOWS_LIBS=<libraries folder> -DCA_BUILD_TESTS=OFF ...
# scripts/package-windows does this. The C++ runtime stays in DLLs (libstdc++-6, libgcc_s_seh-1,
# libwinpthread-1) shared with Qt's DLLs; the package ships them. Qt's host tools (moc, rcc, uic)
# are the installed Linux Qt's.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${CA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${CA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${CA_MINGW_PREFIX}-windres)

# The folders are passed on to the compiler checks' own projects.
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES CA_WINDOWS_QT CA_WINDOWS_LIBS)
set(CMAKE_FIND_ROOT_PATH /usr/${CA_MINGW_PREFIX} ${CA_WINDOWS_QT} ${CA_WINDOWS_LIBS})
set(CMAKE_PREFIX_PATH ${CA_WINDOWS_QT} ${CA_WINDOWS_LIBS})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Qt's host tools; Debian keeps their CMake files in the multiarch folder.
set(QT_HOST_PATH /usr)
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake)

# minizip is found through pkg-config: only the libraries folder's own files, none of the build
# machine's.
if(CA_WINDOWS_LIBS)
  set(ENV{PKG_CONFIG_LIBDIR} ${CA_WINDOWS_LIBS}/lib/pkgconfig)
  set(ENV{PKG_CONFIG_PATH} "")
endif()
