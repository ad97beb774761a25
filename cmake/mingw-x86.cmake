# Cross-builds the Windows program for x86 with MinGW-w64. Programs built
# here (the tests) run under 32-bit Wine, which a stock Debian machine lacks
# (it needs the i386 architecture added to dpkg: scripts/install-deps.sh).
# Whether it is there is asked when a test runs, not here, so that a build
# configured before it was installed runs its tests once it is.
set(ORVEL_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR X86)
# Floating point in SSE2, as on x64, not on the x87 stack: its 80-bit
# intermediates round twice, so that a cut point meant to lie on an edge
# lies a hair beside it and a tie does not always round to even. Every
# processor that runs Windows 8 or later has SSE2. Windows calls back with
# the stack aligned to 4 bytes only; SSE code wants 16, so functions that
# need it realign theirs. (Options, not cached flags, so that a build
# configured before holds them too.)
add_compile_options(-msse2 -mfpmath=sse -mstackrealign)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
orvel_run_under_wine()
