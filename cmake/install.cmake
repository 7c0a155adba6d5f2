# What `cmake --install` adds to the programs (which install themselves into
# bin/): the help among the shared files, where the program looks for it when
# it is not beside the executable; the manual pages; the application icon; and
# a desktop entry, so the program appears in the desktop's application menu.
if(WIN32)
    include(${CMAKE_CURRENT_LIST_DIR}/windows_package.cmake)
    return()
endif()
include(${CMAKE_CURRENT_LIST_DIR}/man_pages.cmake)
if(NOT FAULTWARD_BUILD_GUI)
    return()
endif()

install(FILES ${PROJECT_SOURCE_DIR}/resources/help/faultwardhelp.html
    DESTINATION ${FAULTWARD_INSTALL_DATADIR})

set(icon_folder ${PROJECT_SOURCE_DIR}/resources/icons)
install(FILES ${icon_folder}/faultward.png DESTINATION share/icons/hicolor/32x32/apps)
install(FILES ${icon_folder}/faultward16.png DESTINATION share/icons/hicolor/16x16/apps
    RENAME faultward.png)

set(desktop_entry ${CMAKE_BINARY_DIR}/install/faultward.desktop)
install(CODE "
    set(FAULTWARD_INSTALL_BINDIR \"${FAULTWARD_INSTALL_BINDIR}\")
    set(FAULTWARD_DESKTOP_TEMPLATE \"${PROJECT_SOURCE_DIR}/resources/desktop/faultward.desktop.in\")
    set(FAULTWARD_DESKTOP_OUTPUT \"${desktop_entry}\")
")
install(SCRIPT ${PROJECT_SOURCE_DIR}/cmake/write_desktop_entry.cmake)
install(FILES ${desktop_entry} DESTINATION share/applications)

include(${CMAKE_CURRENT_LIST_DIR}/debian_package.cmake)
