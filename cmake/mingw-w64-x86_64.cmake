# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads, so
# that std::thread and std::mutex work). The runtime libraries are linked
# statically, so the programs and sumkit.dll run without MinGW's DLLs beside
# them; ctest runs every test program under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(SUITE_MINGW_TRIPLE x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${SUITE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${SUITE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${SUITE_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${SUITE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

find_program(SUITE_WINE NAMES wine wine64)
if(SUITE_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${SUITE_WINE})
endif()
