# The Windows programs, cross-built here and run under Wine.

# They import system DLLs only: nothing to ship beside them.
find_program(MINGW_OBJDUMP x86_64-w64-mingw32-objdump REQUIRED)
foreach(program ad9851-word ad9851-calc)
    if(TARGET ${program})
        add_test(NAME ${program}_imports_only_system_dlls
            COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows_imports_test.sh ${MINGW_OBJDUMP} $<TARGET_FILE:${program}>)
    endif()
endforeach()

# ad9851-word.exe through the same end-to-end tests as the Linux program,
# run by the native test program (AD9851_NATIVE_CLI_TESTS) with the .exe
# under Wine in its place.
set(AD9851_NATIVE_CLI_TESTS "" CACHE FILEPATH "The native build's cli_tests, to run against the .exe")
if(AD9851_NATIVE_CLI_TESTS)
    file(GENERATE OUTPUT ${CMAKE_CURRENT_BINARY_DIR}/ad9851-word-wine
        CONTENT "#!/bin/sh\nexec ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:ad9851-word> \"$@\"\n"
        FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
    # The test of a terminal on standard input is for Linux only.
    add_test(NAME cli_tests_against_the_exe
        COMMAND ${AD9851_NATIVE_CLI_TESTS} --gtest_filter=-Cli.TerminalInputWithoutFrequenciesShowsUsage)
    set_tests_properties(cli_tests_against_the_exe PROPERTIES TIMEOUT 600
        ENVIRONMENT "AD9851_WORD=${CMAKE_CURRENT_BINARY_DIR}/ad9851-word-wine")
endif()

add_test(NAME ad9851-word_writes_chinese_to_a_console
    COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/win32_console_test.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
            $<TARGET_FILE:ad9851-word>)

if(TARGET ad9851-calc)
    add_test(NAME win32_window_under_wine
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/win32_window_test.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                $<TARGET_FILE:ad9851-calc>)
    set_tests_properties(win32_window_under_wine PROPERTIES TIMEOUT 180)
    add_test(NAME win32_window_program_command_line
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/win32_arguments_test.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                $<TARGET_FILE:ad9851-calc> ${PROJECT_VERSION})
    set_tests_properties(win32_window_program_command_line PROPERTIES TIMEOUT 180)
    add_test(NAME win32_spectrum_window_under_wine
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/win32_spectrum_test.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                $<TARGET_FILE:ad9851-calc> $<TARGET_FILE:ad9851-word>)
    set_tests_properties(win32_spectrum_window_under_wine PROPERTIES TIMEOUT 180)
endif()

# The icon of both programs and the installer: bitmaps for the small
# sizes, and the 256 px image Explorer's large views show.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_FOUND)
    add_test(NAME windows_icon_holds_each_size
        COMMAND ${Python3_EXECUTABLE} ${CMAKE_CURRENT_SOURCE_DIR}/icon_file_test.py
                ${PROJECT_SOURCE_DIR}/resources/icons/ad9851-calc.ico 16 32 48 256)
endif()

# The downloads: made once, then the zip's contents checked and the
# installer run silently under Wine, in English and in Chinese, used,
# refused while the window is open, and removed again.
if(TARGET windows_packages)
    add_test(NAME windows_packages_build
        COMMAND ${CMAKE_COMMAND} --build ${PROJECT_BINARY_DIR} --target windows_packages)
    set_tests_properties(windows_packages_build PROPERTIES FIXTURES_SETUP windows_packages TIMEOUT 300)
    add_test(NAME windows_packages_install_and_run
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/windows_packages_test.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                ${win_zip} ${win_setup} ${PROJECT_SOURCE_DIR}/resources/icons/ad9851-calc-256.png)
    set_tests_properties(windows_packages_install_and_run PROPERTIES FIXTURES_REQUIRED windows_packages TIMEOUT 300)
endif()

# What a screen reader reads of the window's boxes, printed by a helper
# that runs beside the window.
if(TARGET ad9851-calc)
    add_executable(win32_control_names win32_control_names.cpp)
    target_compile_definitions(win32_control_names PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
    target_link_options(win32_control_names PRIVATE -municode)
    add_test(NAME win32_window_boxes_have_names
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/win32_names_test.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                $<TARGET_FILE:ad9851-calc> $<TARGET_FILE:win32_control_names>)
    set_tests_properties(win32_window_boxes_have_names PROPERTIES TIMEOUT 120)

    # 1,000 error messages, shown and closed by a helper beside the window,
    # leave the window's process no bigger.
    add_executable(win32_error_messages win32_error_messages.cpp)
    target_compile_definitions(win32_error_messages PRIVATE UNICODE _UNICODE WIN32_LEAN_AND_MEAN)
    target_link_options(win32_error_messages PRIVATE -municode)
    target_link_libraries(win32_error_messages PRIVATE psapi)
    add_test(NAME win32_error_messages_are_freed
        COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/win32_error_messages_test.sh ${CMAKE_CROSSCOMPILING_EMULATOR}
                $<TARGET_FILE:ad9851-calc> $<TARGET_FILE:win32_error_messages>)
    set_tests_properties(win32_error_messages_are_freed PROPERTIES TIMEOUT 600)
endif()
