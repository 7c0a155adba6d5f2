# The manual pages, section 1, gzipped as Debian wants them, made from the
# programs' own help by resources/man/make_man_page.py: faultward-cli's from
# its --help, the desktop program's from its help page. Neither can say
# something the program's own help does not.
find_package(Python3 COMPONENTS Interpreter)
if(NOT Python3_FOUND)
    message(STATUS "No Python 3: the manual pages are not made")
    return()
endif()
find_program(FAULTWARD_GZIP gzip REQUIRED)

set(man_folder ${CMAKE_BINARY_DIR}/install/man)
file(MAKE_DIRECTORY ${man_folder})
set(man_tool ${PROJECT_SOURCE_DIR}/resources/man/make_man_page.py)
set(man_version "Faultward ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK}")
# The month of the release's changelog entry, so every build makes the same pages.
set(man_date "December 2026")

add_custom_command(OUTPUT ${man_folder}/faultward-cli.1
    COMMAND ${Python3_EXECUTABLE} ${man_tool} help $<TARGET_FILE:faultward-cli>
        ${man_folder}/faultward-cli.1
        "add and remove error handlers in Visual Basic 5/6 projects from the command line"
        ${man_version} ${man_date} faultward
    DEPENDS faultward-cli ${man_tool}
    VERBATIM)
set(man_pages faultward-cli)
if(FAULTWARD_BUILD_GUI)
    set(help ${PROJECT_SOURCE_DIR}/resources/help/faultwardhelp.html)
    add_custom_command(OUTPUT ${man_folder}/faultward.1
        COMMAND ${Python3_EXECUTABLE} ${man_tool} html ${help} faultward ${man_folder}/faultward.1
            "add and remove error handlers in Visual Basic 5/6 projects, in a desktop window"
            ${man_version} ${man_date} faultward-cli
        DEPENDS ${man_tool} ${help}
        VERBATIM)
    list(APPEND man_pages faultward)
endif()

set(gzipped)
foreach(page ${man_pages})
    add_custom_command(OUTPUT ${man_folder}/${page}.1.gz
        COMMAND ${FAULTWARD_GZIP} -9nfk ${man_folder}/${page}.1
        DEPENDS ${man_folder}/${page}.1)
    list(APPEND gzipped ${man_folder}/${page}.1.gz)
endforeach()
add_custom_target(faultward_man_pages ALL DEPENDS ${gzipped})
install(FILES ${gzipped} DESTINATION share/man/man1)
