# Cross-building the Qt-free modules and the command-line tools for Windows
# x86-64 with Debian's MinGW-w64 (package mingw-w64). The posix thread model
# gives std::thread; everything is linked statically, so the .exe files need
# no DLL beyond the system's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TELVARA_MINGW x86_64-w64-mingw32)

set(CMAKE_C_COMPILER ${TELVARA_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TELVARA_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TELVARA_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TELVARA_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
# Unicode Windows calls; nothing of the old narrow ones.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# Tests and tools run under Wine on the build machine.
find_program(TELVARA_WINE NAMES wine64 wine)
if(TELVARA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${TELVARA_WINE})
endif()
