# ad9851_windows_resources(TARGET NAME DESCRIPTION): gives the Windows
# program TARGET its icon group, version record and manifest
# (resources/windows/NAME.manifest).
function(ad9851_windows_resources target name description)
    set(RC_NAME ${name})
    set(RC_DESCRIPTION ${description})
    set(RC_MANIFEST ${PROJECT_SOURCE_DIR}/resources/windows/${name}.manifest)
    set(rc ${PROJECT_BINARY_DIR}/generated/${name}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/program.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${RC_MANIFEST}
                 ${PROJECT_SOURCE_DIR}/resources/icons/ad9851-calc.ico)
endfunction()
