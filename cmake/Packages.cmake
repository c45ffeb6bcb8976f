# The packages people install, built with the programs (into <build>/packages) so that the tests
# always install what the tree builds; tools/package gathers them into dist/.
#   Linux:   morrowmere_<version>_<architecture>.deb (debian/, built by packaging/linux/build-deb),
#            for example morrowmere_2.0.0_amd64.deb, and beside it the settings window's
#            morrowmere-settings_<version>_<architecture>.deb
#   Windows: morrowmere-setup.exe (NSIS) and morrowmere-<version>-scr.zip, the bare .scr
set(MORROWMERE_PACKAGES "${CMAKE_BINARY_DIR}/packages")

function(morrowmere_add_debian_package)
    set(here "${PROJECT_SOURCE_DIR}/packaging/linux")
    # The architecture dpkg-buildpackage builds for (the machine's own: amd64, arm64, ...), asked
    # as build-deb asks it; the package's name carries it.
    execute_process(COMMAND dpkg-architecture -qDEB_HOST_ARCH OUTPUT_VARIABLE arch
                    OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE failed)
    if(failed OR arch STREQUAL "")
        message(FATAL_ERROR "dpkg-architecture gave no architecture for the Debian package")
    endif()
    set(deb "${MORROWMERE_PACKAGES}/morrowmere_${PROJECT_VERSION}_${arch}.deb")
    file(GLOB inputs "${here}/*" "${PROJECT_SOURCE_DIR}/debian/*" "${PROJECT_SOURCE_DIR}/debian/source/*")
    set(settings_deb "${MORROWMERE_PACKAGES}/morrowmere-settings_${PROJECT_VERSION}_${arch}.deb")
    add_custom_command(OUTPUT "${deb}" "${settings_deb}"
                       COMMAND "${here}/build-deb" "${PROJECT_SOURCE_DIR}" "${PROJECT_VERSION}" "${deb}"
                       DEPENDS morrowmere morrowmere-settings ${inputs} "${PROJECT_SOURCE_DIR}/resources/morrowmere.xml"
                       COMMENT "Debian package ${deb}" VERBATIM)
    add_custom_target(morrowmere_deb ALL DEPENDS "${deb}")
    set(MORROWMERE_DEB "${deb}" PARENT_SCOPE)
endfunction()

function(morrowmere_add_windows_packages)
    find_program(MAKENSIS makensis REQUIRED)
    set(here "${PROJECT_SOURCE_DIR}/packaging/windows")
    set(stage "${MORROWMERE_PACKAGES}/stage")
    set(setup "${MORROWMERE_PACKAGES}/morrowmere-setup.exe")
    set(zip "${MORROWMERE_PACKAGES}/morrowmere-${PROJECT_VERSION}-scr.zip")
    set(text_file "${CMAKE_BINARY_DIR}/generated/Install.txt")
    configure_file("${here}/Install.txt.in" "${text_file}.lf" @ONLY)
    # Notepad's line ends, for the people who open it there.
    file(READ "${text_file}.lf" text)
    string(REPLACE "\n" "\r\n" text "${text}")
    file(WRITE "${text_file}" "${text}")
    add_custom_command(OUTPUT "${setup}" "${zip}"
                       COMMAND "${CMAKE_COMMAND}" -E copy $<TARGET_FILE:morrowmere> "${stage}/morrowmere.scr"
                       COMMAND "${CMAKE_STRIP}" "${stage}/morrowmere.scr"
                       COMMAND "${CMAKE_COMMAND}" -E copy "${text_file}" "${stage}/Install.txt"
                       COMMAND "${MAKENSIS}" -V2 -DVERSION=${PROJECT_VERSION} "-DSCR=${stage}/morrowmere.scr"
                               "-DOUTFILE=${setup}" "${here}/morrowmere.nsi"
                       COMMAND "${CMAKE_COMMAND}" -E chdir "${stage}"
                               "${CMAKE_COMMAND}" -E tar cf "${zip}" --format=zip morrowmere.scr Install.txt
                       DEPENDS morrowmere "${here}/morrowmere.nsi" "${text_file}"
                       COMMENT "Windows installer ${setup} and ${zip}" VERBATIM)
    add_custom_target(morrowmere_windows_packages ALL DEPENDS "${setup}" "${zip}")
    set(MORROWMERE_SETUP "${setup}" PARENT_SCOPE)
    set(MORROWMERE_SCR_ZIP "${zip}" PARENT_SCOPE)
endfunction()
