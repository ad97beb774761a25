# Cross-builds the Windows program for x86 with MinGW-w64. Its programs
# need 32-bit Wine, which a stock Debian machine lacks (it needs the i386
# architecture added to dpkg): the tests are registered only where it is
# installed.
set(ORVEL_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR X86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
if(EXISTS /usr/lib/wine/wine)
  orvel_run_under_wine()
endif()
