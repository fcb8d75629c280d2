# The kit's Debian package: the files and fields that Debian asks of it.
set(PACKAGING_DIR ${CMAKE_BINARY_DIR}/packaging)
set(KIT_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/zorvane-installer-kit)
configure_file(${CMAKE_CURRENT_LIST_DIR}/copyright.in ${PACKAGING_DIR}/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/changelog.in ${PACKAGING_DIR}/changelog @ONLY)
add_custom_command(OUTPUT ${PACKAGING_DIR}/changelog.gz
  COMMAND sh -c "gzip -9n < \"$0\" > \"$1\"" ${PACKAGING_DIR}/changelog ${PACKAGING_DIR}/changelog.gz
  DEPENDS ${PACKAGING_DIR}/changelog VERBATIM)
add_custom_target(kit-changelog ALL DEPENDS ${PACKAGING_DIR}/changelog.gz)
install(FILES ${PACKAGING_DIR}/copyright ${PACKAGING_DIR}/changelog.gz DESTINATION ${KIT_DOC_DIR})
install(FILES ${CMAKE_CURRENT_LIST_DIR}/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME zorvane-installer-kit)

set(CPACK_PACKAGE_NAME zorvane-installer-kit)
set(CPACK_PACKAGE_VENDOR "Telquist Software")
set(CPACK_PACKAGE_CONTACT "${ZORVANE_MAINTAINER}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Zorvane 8 installer kit and the DtComboBox Motif widget")
set(CPACK_PACKAGE_DESCRIPTION "mkinstaller packs a product directory into one self-extracting installer
file for Linux and X11: the installer program, the product as a gzip'd tar
archive, and a checksum block.  Run bare, the installer opens a Motif wizard
(license, destination, progress) and starts the installed player; run as
-s DIRECTORY it installs without a display.
.
The package also holds the DtComboBox combo box widget as a static library
any Motif program can link, with its headers and manual page.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION devel)
# The image may need the C library; the combo box's headers include Motif's.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libmotif-dev")
# pack --zstd and the zstd payloads of create run zstd.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "zstd")
# CPack knows no Static-Built-Using: this script adds it to the package made.
set(CPACK_DEBIAN_STATIC_BUILT_USING "${IMAGE_STATIC_BUILT_USING}")
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/static-built-using.cmake)
