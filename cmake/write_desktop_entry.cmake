# Runs at install time, when the final prefix is known: the desktop entry
# starts the installed program by its full path, so it works whether or not
# that folder is on the search path.
set(program "${CMAKE_INSTALL_PREFIX}/${FAULTWARD_INSTALL_BINDIR}/faultward")
# Inside a quoted Exec argument \ " ` and $ take a backslash; the desktop
# file's string rules then double every backslash once more.
string(REPLACE "\\" "\\\\\\\\" program "${program}")
foreach(special "\"" "`" "$")
    string(REPLACE "${special}" "\\\\${special}" program "${program}")
endforeach()
set(FAULTWARD_DESKTOP_EXEC "\"${program}\"")
configure_file(${FAULTWARD_DESKTOP_TEMPLATE} ${FAULTWARD_DESKTOP_OUTPUT} @ONLY)
