# ad9851_install_manpage(PAGE): installs the manual page PAGE (in the
# current source folder) under man1, compressed as Debian installs them.
find_program(GZIP_PROGRAM gzip)
function(ad9851_install_manpage page)
    if(GZIP_PROGRAM)
        set(compressed ${CMAKE_CURRENT_BINARY_DIR}/${page}.gz)
        add_custom_command(OUTPUT ${compressed}
            COMMAND ${GZIP_PROGRAM} -9 -n -c ${CMAKE_CURRENT_SOURCE_DIR}/${page} > ${compressed}
            DEPENDS ${page} VERBATIM)
        string(MAKE_C_IDENTIFIER "manpage_${page}" target)
        add_custom_target(${target} ALL DEPENDS ${compressed})
        install(FILES ${compressed} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    else()
        install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
    endif()
endfunction()
