# Cross build for 64-bit Windows with Debian's mingw-w64 (the posix thread
# model, which std::thread and std::mutex need):
#   cmake -S . -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
#         -DZOEDIT_BUILD_GUI=OFF -DZOEDIT_BUILD_SERIAL=OFF -DZOEDIT_BUILD_TESTS=OFF \
#         -DZOEDIT_BUILD_BENCH=OFF
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZOEDIT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZOEDIT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZOEDIT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZOEDIT_MINGW_PREFIX}-windres)

# Libraries and headers of the target only; programs of the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${ZOEDIT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The programs carry the compiler's runtime instead of needing its DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
