# Cross-builds for 64-bit Windows with mingw-w64 (posix thread model), e.g.
#   cmake -B build-win -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# For the whole program, chain-loaded by Qt's toolchain file:
#   cmake -B build-win -DCMAKE_TOOLCHAIN_FILE=<Qt>/lib/cmake/Qt6/qt.toolchain.cmake \
#         -DQT_CHAINLOAD_TOOLCHAIN_FILE=cmake/mingw-w64.cmake
# Programs load the mingw runtime as DLLs (libstdc++-6, libgcc_s_seh-1,
# libwinpthread-1), as Qt's DLLs do: one runtime in a process, shared by the
# program and Qt. CTest runs them through Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(TAVLO_MINGW_TRIPLE x86_64-w64-mingw32)
find_program(CMAKE_C_COMPILER NAMES ${TAVLO_MINGW_TRIPLE}-gcc-posix ${TAVLO_MINGW_TRIPLE}-gcc REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES ${TAVLO_MINGW_TRIPLE}-g++-posix ${TAVLO_MINGW_TRIPLE}-g++ REQUIRED)
find_program(CMAKE_RC_COMPILER NAMES ${TAVLO_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TAVLO_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Test programs cannot run on the build machine by themselves.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(TAVLO_WINE NAMES wine wine64)
  if(TAVLO_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVLO_WINE})
  endif()
endif()
