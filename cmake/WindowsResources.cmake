# ad9851_windows_resources(TARGET NAME DESCRIPTION): gives the Windows
# program TARGET its icon group, version record and manifest
# (resources/windows/NAME.manifest.in), all stamped with the project version.
function(ad9851_windows_resources target name description)
    set(RC_NAME ${name})
    set(RC_DESCRIPTION ${description})
    set(RC_MANIFEST ${PROJECT_BINARY_DIR}/generated/${name}.manifest)
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/${name}.manifest.in ${RC_MANIFEST} @ONLY)
    set(rc ${PROJECT_BINARY_DIR}/generated/${name}.rc)
    configure_file(${PROJECT_SOURCE_DIR}/resources/windows/program.rc.in ${rc} @ONLY)
    target_sources(${target} PRIVATE ${rc})
    set_property(SOURCE ${rc} APPEND PROPERTY OBJECT_DEPENDS ${RC_MANIFEST}
                 ${PROJECT_SOURCE_DIR}/resources/icons/ad9851-calc.ico)
endfunction()
