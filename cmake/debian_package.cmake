# The Debian package: `cpack -G DEB --config build/CPackConfig.cmake` gives
# build/package/faultward_MAJOR.MINOR.REVISION_amd64.deb with both programs,
# the help, the templates, the desktop entry and the icons under /usr, its
# Depends worked out by dpkg-shlibdeps from the libraries the programs link.
set(version ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}.${PROJECT_VERSION_TWEAK})

# What Debian asks of every package: the copyright and a changelog, gzipped
# without a time stamp so that the package is the same on every build.
set(doc_folder ${CMAKE_BINARY_DIR}/install/doc)
configure_file(${PROJECT_SOURCE_DIR}/resources/debian/changelog.in ${doc_folder}/changelog @ONLY)
find_program(FAULTWARD_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${doc_folder}/changelog.gz
    COMMAND ${FAULTWARD_GZIP} -9nfk ${doc_folder}/changelog
    DEPENDS ${doc_folder}/changelog)
add_custom_target(faultward_changelog ALL DEPENDS ${doc_folder}/changelog.gz)
install(FILES ${PROJECT_SOURCE_DIR}/resources/debian/copyright ${doc_folder}/changelog.gz
    DESTINATION share/doc/faultward)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME faultward)
set(CPACK_PACKAGE_VERSION ${version})
set(CPACK_PACKAGE_VENDOR "Faultward developers")
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "adds and removes error handlers in Visual Basic 5/6 projects")
# The summary above is the description's first line.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Faultward gives every Sub of a Visual Basic 5/6 project a run-time error
trap and handler block, and takes them out again. It reads the project
file (.vbp), lists its forms and modules, and rewrites the selected files
in place, each through a temporary file. Every line it adds carries a
marker comment, so removal needs no other record.
.
The package holds the desktop program (faultward), the command line
(faultward-cli), the help and example handler templates.")
set(CPACK_DEBIAN_FILE_NAME faultward_${version}_amd64.deb)
set(CPACK_DEBIAN_PACKAGE_ARCHITECTURE amd64)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Faultward developers <developers@faultward.example>")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The folders the package shares with others (/usr, /usr/share, ...) keep
# Debian's modes whatever the build's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
