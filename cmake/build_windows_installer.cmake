# Run by the target faultward-msi (cmake/windows_installer.cmake): stages the
# installed files, stripped, and builds the installer from them.
foreach(tool WIXL MSIBUILD)
    if(NOT ${tool} OR ${tool} MATCHES "NOTFOUND$")
        message(FATAL_ERROR "The Windows installer needs wixl and msibuild: "
                            "apt-get install wixl msitools")
    endif()
endforeach()

set(stage ${BUILD_DIR}/installer-stage)
file(REMOVE_RECURSE ${stage})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${stage} --strip
    OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
file(COPY ${ICON} DESTINATION ${stage})
get_filename_component(icon_name ${ICON} NAME)

# wixl finds the sources by names relative to the folder it runs in.
get_filename_component(output_folder ${OUTPUT} DIRECTORY)
file(MAKE_DIRECTORY ${output_folder})
file(REMOVE ${OUTPUT})
execute_process(COMMAND ${WIXL} --arch x64 -D Stage=. -D Icon=${icon_name} -D Version=${VERSION}
                        -o ${OUTPUT} ${SOURCE}
    WORKING_DIRECTORY ${stage} COMMAND_ERROR_IS_FATAL ANY)

# What wixl cannot express goes in by hand. It has no Environment element:
# for the optional feature's PATH entry, "=-PATH" sets the user's PATH on
# install and takes the entry out on uninstall, "[~];" appends to what is
# there. And it sequences a property-setting action after the install's end:
# ARPINSTALLLOCATION, the folder Apps & features shows, is set once the
# folders are resolved.
execute_process(COMMAND ${MSIBUILD} ${OUTPUT}
    -q "CREATE TABLE `Environment` (`Environment` CHAR(72) NOT NULL, `Name` CHAR(255) NOT NULL LOCALIZABLE, `Value` CHAR(255) LOCALIZABLE, `Component_` CHAR(72) NOT NULL PRIMARY KEY `Environment`)"
    -q "INSERT INTO `Environment` (`Environment`, `Name`, `Value`, `Component_`) VALUES ('UserPath', '=-PATH', '[~];[INSTALLDIR]', 'PathEntry')"
    -q "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('RemoveEnvironmentStrings', 3300)"
    -q "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('WriteEnvironmentStrings', 5200)"
    -q "INSERT INTO `CustomAction` (`Action`, `Type`, `Source`, `Target`) VALUES ('SetInstallLocation', 51, 'ARPINSTALLLOCATION', '[INSTALLDIR]')"
    -q "INSERT INTO `InstallExecuteSequence` (`Action`, `Sequence`) VALUES ('SetInstallLocation', 1001)"
    COMMAND_ERROR_IS_FATAL ANY)
