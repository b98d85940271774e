# The Windows program and the tests that need Windows, built by the cross
# toolchain (cmake/mingw-i686.cmake).

add_compile_definitions(WINVER=0x0501 _WIN32_WINNT=0x0501 _WIN32_IE=0x0600 NOMINMAX)

add_executable(corvalendrine WIN32
  engine/main_win.cpp
)
target_link_libraries(corvalendrine PRIVATE corv_core)
target_compile_options(corvalendrine PRIVATE ${CORV_WARNINGS})

# The shipped image folders sit beside the program.
foreach(dir effects Masks)
  add_custom_command(TARGET corvalendrine POST_BUILD
    COMMAND ${CMAKE_COMMAND} -E make_directory $<TARGET_FILE_DIR:corvalendrine>/${dir}
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/data/${dir}
            $<TARGET_FILE_DIR:corvalendrine>/${dir})
endforeach()

file(GLOB CORV_WIN_TEST_SOURCES CONFIGURE_DEPENDS tests/win/*.cpp)
add_executable(win_tests ${CORV_WIN_TEST_SOURCES})
target_link_libraries(win_tests PRIVATE corv_core gtest_main)
target_compile_options(win_tests PRIVATE ${CORV_WARNINGS})
