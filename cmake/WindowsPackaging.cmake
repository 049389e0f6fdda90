# The Windows downloads: ad9851-calc-VERSION-win64.zip (both programs,
# stripped, with the Windows README, the licence and the third-party
# notices) and ad9851-calc-VERSION-win64-setup.exe (NSIS, the same files).
#   cmake --build build-win --target windows_packages
set(win_name ad9851-calc-${PROJECT_VERSION}-win64)
set(win_stage ${PROJECT_BINARY_DIR}/stage/${win_name})
set(win_zip ${PROJECT_BINARY_DIR}/packages/${win_name}.zip)
set(win_setup ${PROJECT_BINARY_DIR}/packages/${win_name}-setup.exe)
set(win_icon ${PROJECT_SOURCE_DIR}/resources/icons/ad9851-calc.ico)
find_program(MAKENSIS makensis REQUIRED)

# The text files with Windows line ends, as Notepad shows them.
set(win_texts)
foreach(text README-Windows.txt THIRD-PARTY-NOTICES.txt)
    configure_file(${PROJECT_SOURCE_DIR}/packaging/windows/${text} ${PROJECT_BINARY_DIR}/windows-texts/${text}
        @ONLY NEWLINE_STYLE CRLF)
    list(APPEND win_texts ${PROJECT_BINARY_DIR}/windows-texts/${text})
endforeach()
configure_file(${PROJECT_SOURCE_DIR}/LICENSE ${PROJECT_BINARY_DIR}/windows-texts/LICENSE.txt
    @ONLY NEWLINE_STYLE CRLF)
list(APPEND win_texts ${PROJECT_BINARY_DIR}/windows-texts/LICENSE.txt)

add_custom_command(OUTPUT ${win_zip} ${win_setup}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${win_stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${win_stage} ${PROJECT_BINARY_DIR}/packages
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:ad9851-calc> $<TARGET_FILE:ad9851-word> ${win_texts} ${win_stage}
    # The downloads carry no debugging sections.
    COMMAND ${CMAKE_STRIP} --strip-all ${win_stage}/$<TARGET_FILE_NAME:ad9851-calc>
            ${win_stage}/$<TARGET_FILE_NAME:ad9851-word>
    COMMAND ${CMAKE_COMMAND} -E rm -f ${win_zip}
    COMMAND ${CMAKE_COMMAND} -E chdir ${PROJECT_BINARY_DIR}/stage
            ${CMAKE_COMMAND} -E tar cf ${win_zip} --format=zip ${win_name}
    COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} "-DPUBLISHER=${AD9851_PUBLISHER}"
            "-DCOPYRIGHT=${AD9851_COPYRIGHT}" -DICON=${win_icon} "-DRUNNING_MUTEX=${AD9851_RUNNING_MUTEX}"
            -DSTAGE=${win_stage} -DOUTFILE=${win_setup}
            ${PROJECT_SOURCE_DIR}/packaging/windows/installer.nsi
    DEPENDS ad9851-calc ad9851-word ${PROJECT_SOURCE_DIR}/packaging/windows/installer.nsi ${win_texts} ${win_icon}
    VERBATIM)
add_custom_target(windows_packages DEPENDS ${win_zip} ${win_setup})
