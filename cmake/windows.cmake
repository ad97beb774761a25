# The Windows build (presets windows-x64 and windows-x86): the portable core
# and the headless platform from the top-level file, the Win32 platform, the
# screen saver Orvel.scr and the tests that run on Windows. Tools, fuzz
# targets and the benchmarks of bench/ are Linux-only; bench/win32 holds the
# picture loader's timing program (with ORVEL_BENCHMARKS on).
#
# Where the Windows code goes:
# - src/platform/win32/ and its subfolders (saver, dialog, music, pictures,
#   system) make the library orvel_win32, picked up per folder like the rest
#   (no edit here to add a file); main.cpp is left out of it. The Win32 system libraries the platform calls are linked to it.
# - src/platform/win32/main.cpp makes the screen saver:
#   a GUI program (WIN32) named Orvel.scr, with the resource scripts *.rc of
#   that folder compiled by windres and linked in.
#
# Where tests go (tests/platform/<platform>/ holds what only builds there):
# - portable tests (the core and the headless platform) live in
#   tests/app, graphics, saver, music, settings, dialog and
#   tests/platform/headless, and run on both systems;
# - Windows-only tests live in tests/platform/win32 and its subfolders (only
#   this build);
# - Linux-only tests live in tests/platform/linux, tests/tools (they run
#   orvel-tool) and tests/gui (only the Linux build).
# Tests run under Wine (cmake/wine-run.sh), each test binary once per test
# case, as on Linux.

enable_language(RC)

# Wide-character Win32 calls, and no min/max macros in the way of std::min.
set(ORVEL_WIN32_DEFINITIONS UNICODE _UNICODE NOMINMAX)

orvel_sources(WIN32_SOURCES src/platform/win32)
list(FILTER WIN32_SOURCES EXCLUDE REGEX "/main\\.cpp$")
add_library(orvel_win32 STATIC ${WIN32_SOURCES})
target_compile_definitions(orvel_win32 PUBLIC ${ORVEL_WIN32_DEFINITIONS})
target_link_libraries(orvel_win32 PUBLIC orvel_core winmm comctl32 shlwapi gdi32 comdlg32 ole32 shell32
                                  PRIVATE orvel_warnings)

file(GLOB RESOURCE_SCRIPTS CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/src/platform/win32/*.rc)
add_executable(orvel_scr WIN32 src/platform/win32/main.cpp ${RESOURCE_SCRIPTS})
set_target_properties(orvel_scr PROPERTIES OUTPUT_NAME Orvel SUFFIX .scr)
target_compile_definitions(orvel_scr PRIVATE ${ORVEL_WIN32_DEFINITIONS})
target_link_libraries(orvel_scr PRIVATE orvel_win32 orvel_warnings)
# The entry is wWinMain, which hands over the command line in UTF-16. The
# program ships without its symbols (a twentieth of the size).
target_link_options(orvel_scr PRIVATE -municode -s)

if(ORVEL_BENCHMARKS)
  add_executable(orvel_picture_times bench/win32/picture_times.cpp)
  target_link_libraries(orvel_picture_times PRIVATE orvel_win32 orvel_warnings)
endif()

if(ORVEL_TESTS)
  enable_testing()
  # GoogleTest from its source (Debian's googletest package), built with the
  # cross-compiler; its headers count as system headers, so our warnings
  # stay on our code.
  set(ORVEL_GTEST_SOURCE /usr/src/googletest/googletest
      CACHE PATH "GoogleTest's source folder, built for the target")
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(${ORVEL_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL
                   SYSTEM)
  include(GoogleTest)

  set(TEST_SOURCES)
  foreach(dir IN ITEMS app graphics saver music settings dialog platform/headless platform/win32)
    file(GLOB_RECURSE found CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/tests/${dir}/*.cpp)
    list(APPEND TEST_SOURCES ${found})
  endforeach()
  add_executable(orvel_tests ${TEST_SOURCES})
  target_include_directories(orvel_tests PRIVATE tests)
  target_link_libraries(orvel_tests PRIVATE orvel_headless orvel_win32 GTest::gtest_main
                                            orvel_warnings)
  # The media tests' MP3 (a quiet five-second 440 Hz tone, 8 kHz mono), made
  # here since a test under Wine cannot call an encoder; Wine sees it on Z:.
  find_program(SOX sox REQUIRED)
  find_program(LAME lame REQUIRED)
  set(TONE_MP3 ${CMAKE_BINARY_DIR}/tone.mp3)
  add_custom_command(OUTPUT ${TONE_MP3}
                     COMMAND ${SOX} -n -r 8000 -c 1 tone.wav synth 5 sine 440 vol 0.2
                     COMMAND ${LAME} --quiet -b 8 -m m --resample 8 tone.wav ${TONE_MP3}
                     WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
  target_sources(orvel_tests PRIVATE ${TONE_MP3})
  target_compile_definitions(orvel_tests PRIVATE ORVEL_TONE_MP3="Z:${TONE_MP3}")
  # The test list is read when ctest starts (through Wine), not at build
  # time, so that building never needs Wine.
  # A hang fails after two minutes (Wine takes a second or two to start each
  # test). A test passes only when GoogleTest says so: Wine can end a
  # program that gets a signal with status 0, and a test killed or crashed
  # half-way must not pass on its status alone.
  gtest_discover_tests(orvel_tests DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 120
                       PROPERTIES TIMEOUT 120 PASS_REGULAR_EXPRESSION "\\[  PASSED  \\] 1 test")

  # Orvel.scr itself on the X display that ctest runs under (xvfb-run),
  # with a stand-in for the screen-saver host.
  add_executable(orvel_test_host tests/gui/win32/test_host.cpp)
  target_link_libraries(orvel_test_host PRIVATE orvel_win32 orvel_warnings)
  target_link_options(orvel_test_host PRIVATE -municode)
  add_test(NAME windows_saver COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/tests/gui/windows_saver_test.sh
                                      $<TARGET_FILE:orvel_scr> $<TARGET_FILE:orvel_test_host>)
  set_tests_properties(windows_saver PROPERTIES LABELS gui RUN_SERIAL TRUE TIMEOUT 300)
endif()
