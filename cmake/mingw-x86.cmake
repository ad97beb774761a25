# Cross-builds the Windows program for x86 with MinGW-w64. Programs built
# here (the tests) run under 32-bit Wine, which a stock Debian machine lacks
# (it needs the i386 architecture added to dpkg: scripts/install-deps.sh).
# Whether it is there is asked when a test runs, not here, so that a build
# configured before it was installed runs its tests once it is.
set(ORVEL_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR X86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
orvel_run_under_wine()
