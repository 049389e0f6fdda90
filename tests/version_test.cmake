# Checks that every file that writes the version down by hand writes the
# project's version:
#   cmake -DVERSION=1.2.3.4 -DSOURCE_DIR=<source tree> -P version_test.cmake
# A file is listed with a pattern whose first group is a version; ALL means
# every match must be the project's version, FIRST only the first (the
# newest entry of a release history).

function(check_versions file which pattern)
    file(READ ${SOURCE_DIR}/${file} text)
    string(REGEX MATCHALL "${pattern}" matches "${text}")
    if(NOT matches)
        message(SEND_ERROR "${file}: no version found (${pattern})")
        return()
    endif()
    if(which STREQUAL "FIRST")
        list(GET matches 0 matches)
    endif()
    foreach(match IN LISTS matches)
        string(REGEX REPLACE "${pattern}" "\\1" found "${match}")
        if(NOT found STREQUAL VERSION)
            message(SEND_ERROR "${file}: '${match}' names version ${found}, the project is ${VERSION}")
        endif()
    endforeach()
endfunction()

set(number "([0-9]+(\\.[0-9]+)+)")
# The manual pages' title line and version section.
check_versions(cli/ad9851-word.1 ALL "ad9851\\\\?-calc ${number}")
check_versions(window/ad9851-calc.1 ALL "ad9851\\\\?-calc ${number}")
# The download names in the README.
check_versions(README.md ALL "ad9851-calc[-_]${number}")
# The newest release of the AppStream record and the Debian changelog.
check_versions(resources/io.github.ad9851_calc.Calculator.metainfo.xml FIRST "<release version=\"${number}\"")
check_versions(debian/changelog FIRST "ad9851-calc \\(${number}\\)")
