# The Debian package, by CPack's DEB generator from the install rules: one
# set of rules for `cmake --install` and the package, the version from
# project(), and the run-time dependencies computed from the binaries by
# dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zr3817)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "The ZR-3817 panel developers")
set(CPACK_PACKAGE_CONTACT "ZR-3817 panel developers <zr3817-dev@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "front panel for the ZR-3817 HF transceiver")
# The extended description only: CPack puts the summary above it.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "The desktop front panel of the ZR-3817 HF transceiver, which it operates
over a serial line: frequency, mode, AGC, audio, meter, transmit and the
linear amplifier, with a second VFO and split, band lists, scanners and
memory channel files. Station software reaches the radio through a CAT
serial port or a network rig server.
.
Includes zr3817-sim, a simulated transceiver on a pseudo-terminal.")
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://zr3817.example.org/")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
# Directories 0755 whatever the builder's umask.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
