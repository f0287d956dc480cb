# CPack's Debian package of everything `cmake --install` puts in place:
# `cpack -G DEB` in a build folder configured with CMAKE_INSTALL_PREFIX=/usr
# (scripts/package.sh does both).
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME ${VKR_PACKAGE_NAME})
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Corvane)
set(CPACK_PACKAGE_CONTACT "Corvane <support@corvane.example>")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER ${CPACK_PACKAGE_CONTACT})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "channel memory editor for VKR627 aviation radios")
set(CPACK_PACKAGE_DESCRIPTION
"VKR Frequency Tool reads the memory channels of a VKR627-series air-band
radio over a serial port into an editable table, checks names and
frequencies as they are typed, writes the table back into the radio, and
loads and saves it as a CSV file.

The package holds the window program, vkrtool for the same work from the
command line (read, safe write with backup and read-back, check, diff,
channels from OurAirports and CHIRP files), and vkr-radio-sim, a virtual
radio on a pseudo-terminal for trying both without a radio.")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

# Depends from the shared libraries the programs link (dpkg-shlibdeps),
# nothing by hand: no Recommends, so nothing pulls in ModemManager, which
# probes serial ports and disturbs a radio.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_STRIP_FILES ON)

# Modes as Debian wants them whatever the builder's umask: folders and
# programs 755, everything else 644, control files included.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
