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
# SSE2 (every x86 processor Windows has required since Windows 8) for the movie player's
# drawing and for floating point that rounds as on 64-bit builds; the system may call back
# with a stack aligned to 4 bytes only, so functions realign it for SSE spills.
set(TVRL_MINGW_FLAGS "-finput-charset=UTF-8 -fexec-charset=GBK -msse2 -mfpmath=sse -mstackrealign")
set(CMAKE_CXX_FLAGS_INIT "${TVRL_MINGW_FLAGS}")
set(CMAKE_C_FLAGS_INIT "${TVRL_MINGW_FLAGS}")

# ctest runs the Windows executables under Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine-run)
