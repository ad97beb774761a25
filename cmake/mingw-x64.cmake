# Cross-builds the Windows program for x64 with MinGW-w64. Programs built
# here (the tests) run under 64-bit Wine.
set(ORVEL_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
orvel_run_under_wine()
