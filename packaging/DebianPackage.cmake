# The Debian package, built by CPack from the install rules:
#   cpack --config <build>/CPackConfig.cmake -B <folder>
# gives <folder>/maison_<version>_amd64.deb (scripts/package.sh does it with
# Debian's hardening flags). Its Depends are what dpkg-shlibdeps finds for the
# program and the runtime, plus the font the drawing asks fontconfig for.
set(CPACK_GENERATOR "DEB")
set(CPACK_PACKAGE_NAME "maison")
set(CPACK_PACKAGE_VERSION "${PROJECT_VERSION}")
set(CPACK_PACKAGING_INSTALL_PREFIX "/usr")
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_PACKAGE_CONTACT "${MAISON_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "heat losses and energy class of a house, for teaching")
# One paragraph per line; CPack indents them and marks the empty lines.
set(CPACK_PACKAGE_DESCRIPTION
    "Maison is an interactive, French-language simulator of the heat losses
of one house. The student builds the house in eight panels (walls, floor,
ceiling, crawl space, windows, ventilation, indoor temperature, location)
and sees at once the U-values, the loss coefficients, the heat losses and
their shares, the annual heating need and the energy class from A to G.

Result views show the coefficients and losses as charts, a thermal camera
and the surface temperatures. The program starts from the desktop menu or
as maison from a terminal, and keeps each user's settings, screenshots and
reports in a working folder of their own.")

set(CPACK_DEBIAN_FILE_NAME "DEB-DEFAULT")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${MAISON_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION "education")
set(CPACK_DEBIAN_PACKAGE_PRIORITY "optional")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core")
# The launcher shows a fatal problem as a desktop notification with it.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS "libnotify-bin")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE "xz")

include(CPack)
