# The Windows downloads: ad9851-calc-VERSION-win64.zip (both programs, the
# README and the licence) and ad9851-calc-VERSION-win64-setup.exe (NSIS).
#   cmake --build build-win --target windows_packages
set(win_name ad9851-calc-${PROJECT_VERSION}-win64)
set(win_stage ${PROJECT_BINARY_DIR}/stage/${win_name})
set(win_zip ${PROJECT_BINARY_DIR}/packages/${win_name}.zip)
set(win_setup ${PROJECT_BINARY_DIR}/packages/${win_name}-setup.exe)
find_program(MAKENSIS makensis REQUIRED)

add_custom_command(OUTPUT ${win_zip} ${win_setup}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${win_stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${win_stage} ${PROJECT_BINARY_DIR}/packages
    COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:ad9851-calc> $<TARGET_FILE:ad9851-word> ${win_stage}
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/README.md ${win_stage}/README.md
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/LICENSE ${win_stage}/LICENSE.txt
    COMMAND ${CMAKE_COMMAND} -E rm -f ${win_zip}
    COMMAND ${CMAKE_COMMAND} -E chdir ${PROJECT_BINARY_DIR}/stage
            ${CMAKE_COMMAND} -E tar cf ${win_zip} --format=zip ${win_name}
    COMMAND ${MAKENSIS} -V2 -DVERSION=${PROJECT_VERSION} -DSTAGE=${win_stage} -DOUTFILE=${win_setup}
            ${PROJECT_SOURCE_DIR}/packaging/windows/installer.nsi
    DEPENDS ad9851-calc ad9851-word ${PROJECT_SOURCE_DIR}/packaging/windows/installer.nsi
            ${PROJECT_SOURCE_DIR}/README.md ${PROJECT_SOURCE_DIR}/LICENSE
    VERBATIM)
add_custom_target(windows_packages DEPENDS ${win_zip} ${win_setup})
