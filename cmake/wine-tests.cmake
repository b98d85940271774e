# Runs the cross build's test programs under Wine, inside this ctest run.
# A fixture starts one Xvfb screen and a fresh Wine prefix for the run and
# stops both at the end, also when a test fails.

set(CORV_WINE_STATE ${CMAKE_BINARY_DIR}/wine-run)
set(CORV_WINE ${CMAKE_SOURCE_DIR}/tools/wine-fixture)
# win32: the cross build is the 32-bit program under Debian's wine32; win64:
# an x86_64 build of the same code under 64-bit Wine (tools/lib.sh decides).
set(CORV_WINE_ARCH win32 CACHE STRING "Wine architecture of the cross build under test")
set_property(CACHE CORV_WINE_ARCH PROPERTY STRINGS win32 win64)
# The Wine tests read their data files through the Z: drive.
set(CORV_WINE_ENV "CORV_WINE_ARCH=${CORV_WINE_ARCH};CORV_TEST_DATA=${CMAKE_SOURCE_DIR}/tests/data")

add_test(NAME wine.setup COMMAND ${CORV_WINE} setup ${CORV_WINE_STATE})
add_test(NAME wine.cleanup COMMAND ${CORV_WINE} cleanup ${CORV_WINE_STATE})
set_tests_properties(wine.setup PROPERTIES FIXTURES_SETUP wine ENVIRONMENT "${CORV_WINE_ENV}")
set_tests_properties(wine.cleanup PROPERTIES FIXTURES_CLEANUP wine ENVIRONMENT "${CORV_WINE_ENV}")

function(corv_wine_test name)
  add_test(NAME ${name} COMMAND ${CORV_WINE} exec ${CORV_WINE_STATE} ${ARGN})
  set_tests_properties(${name} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 600
    ENVIRONMENT "${CORV_WINE_ENV}")
endfunction()

corv_wine_test(wine.unit_tests ${CORV_WIN_BUILD_DIR}/unit_tests.exe)
corv_wine_test(wine.win_tests ${CORV_WIN_BUILD_DIR}/win_tests.exe)

# End-to-end cases of the real program (tests/e2e/run): every function
# case_NAME of tests/e2e/cases/*.sh is the test e2e.NAME. Each runs in a
# Wine prefix of its own, since the single-instance mutex and the registry
# live in a prefix's wineserver; all share the fixture's screen.
file(GLOB CORV_E2E_CASE_FILES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/cases/*.sh)
foreach(case_file ${CORV_E2E_CASE_FILES})
  file(STRINGS ${case_file} case_lines REGEX "^case_[a-z0-9_]+\\(\\)")
  foreach(line ${case_lines})
    string(REGEX REPLACE "^case_([a-z0-9_]+)\\(\\).*" "\\1" case "${line}")
    add_test(NAME e2e.${case}
             COMMAND ${CORV_WINE} exec ${CORV_WINE_STATE} ${CMAKE_SOURCE_DIR}/tests/e2e/run ${case})
    set_tests_properties(e2e.${case} PROPERTIES FIXTURES_REQUIRED wine TIMEOUT 180
      ENVIRONMENT "CORV_WIN_BUILD_DIR=${CORV_WIN_BUILD_DIR};CORV_WINE_STATE=${CORV_WINE_STATE};${CORV_WINE_ENV}")
  endforeach()
endforeach()
