# The Windows zip: faultward.exe and faultward-cli.exe with the help and a short README beside
# it, in one folder where the program also keeps ERRH.ini. Made with
#   cpack --config build-win/CPackConfig.cmake
install(FILES ${PROJECT_SOURCE_DIR}/resources/help/faultwardhelp.html
              ${PROJECT_SOURCE_DIR}/resources/windows/README.txt
    DESTINATION ${FAULTWARD_INSTALL_BINDIR})

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME faultward)
set(CPACK_PACKAGE_VENDOR Faultward)
set(CPACK_PACKAGE_FILE_NAME faultward-${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK}-win64)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
# The symbols only the debugger wants are most of the executable's size.
set(CPACK_STRIP_FILES ON)
include(CPack)

if(TARGET faultward)
    include(${CMAKE_CURRENT_LIST_DIR}/windows_installer.cmake)
endif()
