# GoogleTest from Debian's sources, built with the same compiler as the code under test.
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(gtest_disable_pthreads OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# GoogleTest's own sources are not ours to hold to -Werror.
target_compile_options(gtest PRIVATE -Wno-error)
target_compile_options(gtest_main PRIVATE -Wno-error)

file(GLOB TEST_SOURCES CONFIGURE_DEPENDS tests/*.cpp)
list(REMOVE_ITEM TEST_SOURCES ${CMAKE_SOURCE_DIR}/tests/layer_probe.cpp)
add_executable(velotam_tests ${TEST_SOURCES} $<TARGET_OBJECTS:velotam_entry> plugin/no_face.cpp)
target_include_directories(velotam_tests PRIVATE ${WHOLE_TREE})
target_link_libraries(velotam_tests PRIVATE velotam_sim gtest gtest_main)

if(WIN32)
  # Every Windows program runs under Wine in a prefix of the build tree, on a virtual display.
  # The fixture creates the prefix once (about 15 s the first time) and ends Wine and the display
  # at the end.
  set(WINE_SH sh ${CMAKE_SOURCE_DIR}/tests/win32/wine.sh)
  set(WINE_STATE ${CMAKE_BINARY_DIR}/wine)
  add_test(NAME wine_setup COMMAND ${WINE_SH} setup ${WINE_STATE} ${CMAKE_SYSTEM_PROCESSOR})
  set_tests_properties(wine_setup PROPERTIES FIXTURES_SETUP wine TIMEOUT 120)
  add_test(NAME wine_teardown COMMAND ${WINE_SH} teardown ${WINE_STATE})
  set_tests_properties(wine_teardown PROPERTIES FIXTURES_CLEANUP wine)

  add_executable(dll_loader tests/win32/dll_loader.cpp)
  target_link_libraries(dll_loader PRIVATE user32 ws2_32)
  foreach(program velotam_tests dll_loader)
    set_target_properties(${program} PROPERTIES CROSSCOMPILING_EMULATOR
                                                "${WINE_SH};run;${WINE_STATE}")
  endforeach()

  add_test(NAME velotam_tests COMMAND velotam_tests)
  add_test(NAME dll_loads_through_its_record COMMAND dll_loader)
  set_tests_properties(velotam_tests dll_loads_through_its_record PROPERTIES
                       FIXTURES_REQUIRED wine TIMEOUT 300)
  add_dependencies(dll_loader gen_Velotam)

  add_test(NAME playersim_exe
           COMMAND sh ${CMAKE_SOURCE_DIR}/tests/win32/playersim_check.sh ${CMAKE_SOURCE_DIR}/tests/win32/wine.sh
                   ${WINE_STATE} $<TARGET_FILE:playersim> ${CMAKE_BINARY_DIR}/playersim_check)
  set_tests_properties(playersim_exe PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120)
  add_test(NAME dll_server_in_playersim_exe
           COMMAND sh ${CMAKE_SOURCE_DIR}/tests/win32/dll_server_check.sh
                   ${CMAKE_SOURCE_DIR}/tests/win32/wine.sh ${WINE_STATE} $<TARGET_FILE:playersim>
                   ${CMAKE_BINARY_DIR}/dll_server_check)
  set_tests_properties(dll_server_in_playersim_exe PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120)
  add_dependencies(dll_loader playersim)

  # Silent clients cost the server no wake-ups.
  add_test(NAME idle_clients_cost_no_wakeups
           COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/win32/idle_check.py
                   ${CMAKE_SOURCE_DIR}/tests/win32/wine.sh ${WINE_STATE} $<TARGET_FILE:playersim>
                   ${CMAKE_BINARY_DIR}/idle_check)
  set_tests_properties(idle_clients_cost_no_wakeups PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120)

  # The native views, driven through real window messages.
  add_executable(views_test tests/win32/views_test.cpp tests/win32/views_support.cpp
                            ui/win32/window_text.cpp)
  target_include_directories(views_test PRIVATE ${WHOLE_TREE})
  target_link_libraries(views_test PRIVATE velotam_sim gtest gtest_main)
  set_target_properties(views_test PROPERTIES CROSSCOMPILING_EMULATOR "${WINE_SH};run;${WINE_STATE}")
  add_dependencies(views_test gen_Velotam)
  add_test(NAME views_test COMMAND views_test)
  set_tests_properties(views_test PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 120)

  find_program(MAKENSIS makensis REQUIRED)
  # The installer of the product is a 32-bit one; the 64-bit test build gets a 64-bit one.
  if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(NSIS_TARGET amd64-unicode)
  else()
    set(NSIS_TARGET x86-unicode)
  endif()
  add_test(NAME installer_install_serve_uninstall
           COMMAND sh ${CMAKE_SOURCE_DIR}/tests/win32/installer_check.sh
                   ${CMAKE_SOURCE_DIR}/tests/win32/wine.sh ${WINE_STATE} $<TARGET_FILE:playersim>
                   $<TARGET_FILE:gen_Velotam> ${CMAKE_BINARY_DIR}/installer_check ${CMAKE_STRIP}
                   ${NSIS_TARGET})
  set_tests_properties(installer_install_serve_uninstall PROPERTIES FIXTURES_REQUIRED wine
                       TIMEOUT 180)

  add_test(NAME dialog_script_in_playersim_exe
           COMMAND sh ${CMAKE_SOURCE_DIR}/tests/dialog_script_check.sh
                   ${CMAKE_BINARY_DIR}/dialog_script sh ${CMAKE_SOURCE_DIR}/tests/win32/wine.sh run
                   ${WINE_STATE} $<TARGET_FILE:playersim>)
  set_tests_properties(dialog_script_in_playersim_exe PROPERTIES FIXTURES_REQUIRED wine
                       TIMEOUT 120)

  # Needs no Wine: runs on every machine, for the product's i686 DLL above all.
  add_test(NAME dll_exports_and_imports
           COMMAND sh ${CMAKE_SOURCE_DIR}/tests/win32/check_dll.sh $<TARGET_FILE:gen_Velotam>
                   ${CMAKE_OBJDUMP})
  set_tests_properties(dll_exports_and_imports PROPERTIES LABELS nowine)
else()
  # The process tests run the built playersim.
  add_dependencies(velotam_tests playersim)
  target_compile_definitions(velotam_tests PRIVATE VELOTAM_PLAYERSIM="$<TARGET_FILE:playersim>"
                                                   VELOTAM_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_test(NAME velotam_tests COMMAND velotam_tests)
  set_tests_properties(velotam_tests PROPERTIES TIMEOUT 300)
  # A layer that includes a header of a layer above it does not build: the protocol reaching
  # for the server, the Win32 face for a dialog it shows, the entry points for playersim.
  foreach(probe "protocol;server/connection.h" "win32ui;ui/ip_address_dlg.h"
                "win32ui;plugin/interface.h" "entry;sim/player.h")
    list(GET probe 0 layer)
    list(GET probe 1 header)
    string(MAKE_C_IDENTIFIER "${layer}_${header}" id)
    add_library(upward_include_probe_${id} STATIC EXCLUDE_FROM_ALL tests/layer_probe.cpp)
    target_include_directories(upward_include_probe_${id} PRIVATE
                               ${CMAKE_BINARY_DIR}/layers/${layer})
    target_compile_definitions(upward_include_probe_${id} PRIVATE
                               VELOTAM_UPWARD_HEADER="${header}")
    add_test(NAME upward_include_fails_to_build_${id}
             COMMAND ${CMAKE_COMMAND} --build ${CMAKE_BINARY_DIR}
                     --target upward_include_probe_${id})
    set_tests_properties(upward_include_fails_to_build_${id} PROPERTIES
                         PASS_REGULAR_EXPRESSION "${header}: No such file" TIMEOUT 60)
  endforeach()
  # The remote-control page in headless Chromium against playersim.
  if(NOT VELOTAM_SANITIZE AND NOT VELOTAM_TSAN)
    add_test(NAME browser_remote_page
             COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/browser/remote_page_test.py
                     $<TARGET_FILE:playersim>)
    set_tests_properties(browser_remote_page PROPERTIES TIMEOUT 200 RUN_SERIAL TRUE)
  endif()
  # The same dialog script and expected output as for playersim.exe under Wine.
  add_test(NAME dialog_script
           COMMAND sh ${CMAKE_SOURCE_DIR}/tests/dialog_script_check.sh
                   ${CMAKE_BINARY_DIR}/dialog_script $<TARGET_FILE:playersim>)
  set_tests_properties(dialog_script PROPERTIES TIMEOUT 60)
  # The benchmark only as a smoke of a few seconds: every server answers, nothing fails.
  add_dependencies(velotam_tests bench_loadgen bench_ceiling)
  add_test(NAME bench_smoke
           COMMAND sh ${CMAKE_SOURCE_DIR}/scripts/bench.sh --smoke --build-dir ${CMAKE_BINARY_DIR})
  set_tests_properties(bench_smoke PROPERTIES TIMEOUT 120 RUN_SERIAL TRUE)
endif()
