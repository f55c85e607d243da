# Shared part of the MinGW-w64 cross toolchains; MINGW_TRIPLE is set by the includer.
set(CMAKE_SYSTEM_NAME Windows)
# The -win32 thread model keeps winpthread out of the executables; the test
# bench's build takes the -posix one, which GoogleTest needs for std::mutex.
if(NOT MINGW_THREADS)
  set(MINGW_THREADS win32)
endif()
set(CMAKE_C_COMPILER ${MINGW_TRIPLE}-gcc-${MINGW_THREADS})
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLE}-g++-${MINGW_THREADS})
set(CMAKE_RC_COMPILER ${MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Lets CTest start Windows test executables under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run.sh)
