# Cross-compiles for 32-bit Windows with Debian's mingw-w64 (posix thread model).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)

set(TVRL_MINGW i686-w64-mingw32)
set(CMAKE_C_COMPILER ${TVRL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TVRL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${TVRL_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TVRL_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Everything the executables need beyond the system's DLLs is linked in.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Narrow string literals are code page 936, as the launcher's texts are; sources stay UTF-8.
set(CMAKE_CXX_FLAGS_INIT "-finput-charset=UTF-8 -fexec-charset=GBK")
set(CMAKE_C_FLAGS_INIT "-finput-charset=UTF-8 -fexec-charset=GBK")

# ctest runs the Windows executables under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
