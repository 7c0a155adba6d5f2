# The Windows installer, faultward-MAJOR.MINOR.REVISION-x64.msi beside the zip
# in package/, made by the target faultward-msi with wixl and msibuild (the
# Debian packages wixl and msitools) from resources/windows/faultward.wxs.
find_program(FAULTWARD_WIXL wixl)
find_program(FAULTWARD_MSIBUILD msibuild)
set(version ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK})
set(installer ${CMAKE_BINARY_DIR}/package/faultward-${version}-x64.msi)
add_custom_target(faultward-msi
    COMMAND ${CMAKE_COMMAND}
        -DWIXL=${FAULTWARD_WIXL} -DMSIBUILD=${FAULTWARD_MSIBUILD}
        -DBUILD_DIR=${CMAKE_BINARY_DIR} -DSOURCE=${PROJECT_SOURCE_DIR}/resources/windows/faultward.wxs
        -DICON=${CMAKE_BINARY_DIR}/src/win/resources/faultward.ico
        -DVERSION=${version} -DOUTPUT=${installer}
        -P ${CMAKE_CURRENT_LIST_DIR}/build_windows_installer.cmake
    DEPENDS faultward faultward-cli
    COMMENT "Windows installer ${installer}"
    VERBATIM)
