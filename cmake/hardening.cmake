# The Linux programs are built hardened, as Debian builds its own packages
# (dpkg-buildflags with hardening=+all): fortified C library calls, a stack
# protector, format strings checked, relocations made read-only and bound at
# start-up, position-independent executables.
option(FAULTWARD_HARDENING "Build the Linux programs with Debian's hardening flags" ON)
if(WIN32 OR NOT FAULTWARD_HARDENING)
    return()
endif()

# The sanitizers check the calls themselves; fortifying them too would hide
# the faults behind the C library's own abort. _FORTIFY_SOURCE needs an
# optimizing build.
if(NOT CMAKE_CXX_FLAGS MATCHES "-fsanitize" AND NOT FAULTWARD_BUILD_FUZZ)
    add_compile_options($<$<NOT:$<CONFIG:Debug>>:-U_FORTIFY_SOURCE>
                        $<$<NOT:$<CONFIG:Debug>>:-D_FORTIFY_SOURCE=2>)
endif()
add_compile_options(-fstack-protector-strong -Wformat -Werror=format-security)
add_link_options(-Wl,-z,relro -Wl,-z,now)

include(CheckPIESupported)
check_pie_supported()
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
