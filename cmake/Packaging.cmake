# The Debian package tamsel_<version>_amd64.deb of the Release build (scripts/package.sh):
# the programs, the man page, the manual, the examples and the desktop integration. Its
# dependencies are the runtime libraries the binaries link, as dpkg-shlibdeps finds them,
# never the -dev packages the build needs.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tamsel)
set(CPACK_PACKAGE_VENDOR "Tamsel developers")
set(CPACK_PACKAGE_CONTACT "Tamsel developers <tamsel@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "repeated-measures ANOVA and MANOVA with Monte-Carlo power and alpha simulation")
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Tamsel analyses and plans studies with repeated measures. From a wide data table it
computes, for every effect of a mixed within/between design, the repeated-measures ANOVA
and the MANOVA tests, and it simulates the alpha error and the power of an analysis, also
for sequential designs. The package holds the desktop program tamsel, the command-line
program tamsel-cli, the user manual and example projects.")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# The desktop entry, the icons and the .vlt file type take effect through these triggers.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils")
include(CPack)
