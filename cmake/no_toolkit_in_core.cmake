# The engine, the core and the command line must build on every system the
# program runs on, so none of them may link a widget toolkit. Walks each
# target's link libraries, those of the libraries it links too, and stops the
# configuration when a Qt library is among them.
function(faultward_collect_links target out)
    set(seen ${${out}})
    get_target_property(links ${target} LINK_LIBRARIES)
    get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
    foreach(link IN LISTS links interface)
        if(NOT link OR link IN_LIST seen)
            continue()
        endif()
        list(APPEND seen ${link})
        if(TARGET ${link})
            faultward_collect_links(${link} seen)
        endif()
    endforeach()
    set(${out} ${seen} PARENT_SCOPE)
endfunction()

foreach(core faultward_platform faultward_rewrite faultward_office faultward_project faultward_app_desktop
             faultward_cli_lib faultward-cli)
    set(links "")
    faultward_collect_links(${core} links)
    foreach(link IN LISTS links)
        if(link MATCHES "Qt")
            message(FATAL_ERROR "${core} links ${link}; the core must stay free of Qt")
        endif()
    endforeach()
endforeach()
