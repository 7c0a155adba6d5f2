# A Windows build made on Linux runs its programs under wine: test discovery,
# ctest and the comparison with the Linux build all start them through
# build-win/wine-run, which keeps wine's state in a prefix of the build's own
# (never the user's ~/.wine), quiet, and without the Mono and Gecko installers
# a new prefix would otherwise fetch.
set(FAULTWARD_WINE_PREFIX ${CMAKE_BINARY_DIR}/wine-prefix)
configure_file(${CMAKE_CURRENT_LIST_DIR}/wine-run.in ${CMAKE_BINARY_DIR}/wine-run @ONLY
    FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                     WORLD_READ WORLD_EXECUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_BINARY_DIR}/wine-run)
