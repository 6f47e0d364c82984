# Cross build for 64-bit Windows with mingw-w64 (Debian: g++-mingw-w64-x86-64-win32).
#   cmake -S . -B build/mingw64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
#         -DCA_BUILD_QT=OFF -DCA_BUILD_TESTS=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CA_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
