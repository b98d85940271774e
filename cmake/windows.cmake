# The Windows program and the tests that need Windows, built by the cross
# toolchain (cmake/mingw-i686.cmake).

add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 NOMINMAX
                        STRICT WIN32_LEAN_AND_MEAN)

# Everything Windows-only except the entry point: the framework and every
# _win.cpp, in a library shared by the program and the Windows tests.
set(CORV_WIN_SOURCES)
foreach(dir ${CORV_DIRS})
  file(GLOB found CONFIGURE_DEPENDS ${dir}/*_win.cpp)
  list(APPEND CORV_WIN_SOURCES ${found})
endforeach()
file(GLOB found CONFIGURE_DEPENDS framework/*.cpp)
list(APPEND CORV_WIN_SOURCES ${found})
list(FILTER CORV_WIN_SOURCES EXCLUDE REGEX "winmain_win\\.cpp$")
list(FILTER CORV_WIN_SOURCES EXCLUDE REGEX "file_io_win\\.cpp$")

# The picture decoders: Debian's source packages built as static libraries
# by tools/lib.sh (build_decoders), which passes their folders here.
# corv_decoder(NAME VARIABLE LIBRARY HEADER DESCRIPTION): the imported
# library corv_NAME from ${VARIABLE}/LIBRARY, its headers in
# ${VARIABLE}/include.
function(corv_decoder name variable library header description)
  set(${variable} "" CACHE PATH "${description} build for this architecture (tools/lib.sh)")
  set(dir "${${variable}}")
  if(NOT EXISTS "${dir}/${library}" OR NOT EXISTS "${dir}/include/${header}")
    message(FATAL_ERROR "${description} is not built for ${CMAKE_SYSTEM_PROCESSOR} in '${dir}': "
                        "tools/test, tools/run and tools/bench build it; or pass "
                        "-D${variable}=build/deps/PACKAGE-VERSION/ARCH")
  endif()
  add_library(corv_${name} STATIC IMPORTED GLOBAL)
  set_target_properties(corv_${name} PROPERTIES IMPORTED_LOCATION "${dir}/${library}"
                        INTERFACE_INCLUDE_DIRECTORIES "${dir}/include")
endfunction()
corv_decoder(jpeg CORV_JPEG_DIR libjpeg.a jpeglib.h libjpeg-turbo)
corv_decoder(webp CORV_WEBP_DIR libwebpdecoder.a webp/decode.h libwebp)
corv_decoder(dav1d CORV_DAV1D_DIR src/libdav1d.a dav1d/dav1d.h dav1d)
corv_decoder(de265 CORV_DE265_DIR libde265/libde265.a libde265/de265.h libde265)
corv_decoder(heif CORV_HEIF_DIR libheif/libheif.a libheif/heif.h libheif)
# libheif reaches libde265 through its static library.
set_property(TARGET corv_heif PROPERTY INTERFACE_LINK_LIBRARIES corv_de265)
set_property(TARGET corv_heif PROPERTY INTERFACE_COMPILE_DEFINITIONS LIBHEIF_STATIC_BUILD)

add_library(corv_win STATIC ${CORV_WIN_SOURCES})
target_link_libraries(corv_win PUBLIC corv_core corv_jpeg corv_webp corv_dav1d corv_heif
  gdiplus comctl32 comdlg32 ole32 oleaut32 uuid shell32 shlwapi ws2_32 advapi32 gdi32 user32)
target_compile_options(corv_win PRIVATE ${CORV_WARNINGS})

set(CORV_RC ${CMAKE_SOURCE_DIR}/res/corvalendrine.rc)
# The version header and the manifest carry the project's version; the .rc
# finds them in the generated folder.
set(CORV_GENERATED ${CMAKE_BINARY_DIR}/generated)
configure_file(${CMAKE_SOURCE_DIR}/res/version.h.in ${CORV_GENERATED}/version.h @ONLY)
configure_file(${CMAKE_SOURCE_DIR}/res/corvalendrine.manifest.in
               ${CORV_GENERATED}/corvalendrine.manifest @ONLY)
# The resource compiler reads these too; a change to one rebuilds the .rc.
file(GLOB CORV_RC_INPUTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*.rc
     ${CMAKE_SOURCE_DIR}/res/*.h ${CMAKE_SOURCE_DIR}/res/icons/*.ico)
list(APPEND CORV_RC_INPUTS ${CORV_GENERATED}/version.h ${CORV_GENERATED}/corvalendrine.manifest)
set_source_files_properties(${CORV_RC} PROPERTIES OBJECT_DEPENDS "${CORV_RC_INPUTS}")

add_executable(corvalendrine WIN32 app/winmain_win.cpp)
if(EXISTS ${CORV_RC})
  target_sources(corvalendrine PRIVATE ${CORV_RC})
endif()
target_link_libraries(corvalendrine PRIVATE corv_win)
target_include_directories(corvalendrine PRIVATE ${CORV_GENERATED})
target_compile_options(corvalendrine PRIVATE ${CORV_WARNINGS})

# The shipped image folders sit beside the program.
foreach(dir effects Masks)
  add_custom_command(TARGET corvalendrine POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:corvalendrine>/${dir}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data/${dir}
            $<TARGET_FILE_DIR:corvalendrine>/${dir})
endforeach()
# The sample special-days file, when there is one.
if(EXISTS ${CMAKE_SOURCE_DIR}/data/xdaylist.txt)
  add_custom_command(TARGET corvalendrine POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/data/xdaylist.txt
            $<TARGET_FILE_DIR:corvalendrine>/xdaylist.txt)
endif()

file(GLOB CORV_WIN_TEST_SOURCES CONFIGURE_DEPENDS tests/win/*.cpp)
add_executable(win_tests ${CORV_WIN_TEST_SOURCES})
if(EXISTS ${CORV_RC})
  target_sources(win_tests PRIVATE ${CORV_RC})
endif()
target_include_directories(win_tests PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CORV_GENERATED})
target_link_libraries(win_tests PRIVATE corv_win psapi gtest_main)
target_compile_options(win_tests PRIVATE ${CORV_WARNINGS})

# The benchmark driver used by tools/bench.
add_executable(corv_bench tools/benchmark/bench_main_win.cpp)
target_link_libraries(corv_bench PRIVATE corv_win psapi)
target_compile_options(corv_bench PRIVATE ${CORV_WARNINGS})

# The end-to-end tests' driver (tests/e2e): finds the running program's
# hidden window and sends it messages, under Wine. It takes the program's
# ids and names from the program's own headers, and the program's file name
# from its target.
file(GLOB CORV_E2E_DRIVER_SOURCES CONFIGURE_DEPENDS tests/e2e/*_win.cpp)
add_executable(e2e_driver ${CORV_E2E_DRIVER_SOURCES})
target_compile_definitions(e2e_driver PRIVATE
  CORV_PROGRAM_FILE="$<TARGET_FILE_NAME:corvalendrine>")
target_link_libraries(e2e_driver PRIVATE corv_core comctl32 user32 advapi32 shell32 psapi)
target_compile_options(e2e_driver PRIVATE ${CORV_WARNINGS})

# A stand-in for the system's per-monitor wallpaper class (which Wine lacks),
# registered by the end-to-end cases in their prefix: it records the
# program's calls.
add_library(corv_test_wallpaper SHARED tests/e2e/wallpaper_server/server_win.cpp)
set_target_properties(corv_test_wallpaper PROPERTIES PREFIX "")
target_include_directories(corv_test_wallpaper PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(corv_test_wallpaper PRIVATE ole32 uuid user32)
# Exported by their plain names, as COM looks them up; the runtime inside.
target_link_options(corv_test_wallpaper PRIVATE -Wl,--kill-at -static -static-libgcc
  -static-libstdc++)
target_compile_options(corv_test_wallpaper PRIVATE ${CORV_WARNINGS})

# The same ids as shell variables for the end-to-end cases (NAME=NUMBER
# lines that tests/e2e/run sources), written again when a header changes.
file(GLOB CORV_ID_HEADERS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/res/*.h)
set(CORV_E2E_IDS ${CMAKE_BINARY_DIR}/e2e_ids.sh)
add_custom_command(OUTPUT ${CORV_E2E_IDS}
  COMMAND ${CMAKE_COMMAND} -DRES_DIR=${CMAKE_SOURCE_DIR}/res -DOUTPUT=${CORV_E2E_IDS}
          -P ${CMAKE_SOURCE_DIR}/cmake/e2e-ids.cmake
  DEPENDS ${CORV_ID_HEADERS} ${CMAKE_SOURCE_DIR}/cmake/e2e-ids.cmake
  COMMENT "Writing the program's ids for the end-to-end cases" VERBATIM)
add_custom_target(e2e_ids ALL DEPENDS ${CORV_E2E_IDS})
