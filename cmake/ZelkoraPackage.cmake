# cpack -G DEB, run in the build folder, makes zelkora_<version>_amd64.deb: the install tree of
# cmake/ZelkoraInstall.cmake under /usr, executables stripped, Depends taken from the shared
# libraries they link (dpkg-shlibdeps, from dpkg-dev).

# The release notes must name the version being packaged.
file(STRINGS ${CMAKE_SOURCE_DIR}/packaging/changelog changelog_head LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^zelkora \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/changelog has no entry for ${PROJECT_VERSION} at its top")
endif()
file(READ ${CMAKE_SOURCE_DIR}/desktop/${ZELKORA_APP_ID}.metainfo.xml metainfo)
if(NOT metainfo MATCHES "<release version=\"${PROJECT_VERSION}\"")
  message(FATAL_ERROR "desktop/${ZELKORA_APP_ID}.metainfo.xml has no release ${PROJECT_VERSION}")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelkora)
set(CPACK_PACKAGE_VENDOR "Zelkora Project")
set(CPACK_PACKAGE_CONTACT "Zelkora Project <maintainers@zelkora.example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "text to hexadecimal codes and back through your own tables")
set(CPACK_PACKAGE_DESCRIPTION
  "Zelkora turns text into a line of hexadecimal codes, and codes back into
text, through code-table files that you write and edit yourself: one code
and one character a line, in Shift_JIS, EUC-JP, ISO-2022-JP, UTF-7, UTF-8
or UTF-16LE, recognised automatically.

The window (zelkora) has a Japanese interface; zelkora-cli offers the same
conversions to scripts, and makes and checks tables.")
# Installed under DESTDIR with the prefix /usr, so the install scripts see the real prefix (the
# desktop entry's Exec depends on it).
set(CPACK_SET_DESTDIR ON)
set(CPACK_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://zelkora.example.org/)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Added to what dpkg-shlibdeps finds: the Help menu opens files and addresses with xdg-open.
set(CPACK_DEBIAN_PACKAGE_DEPENDS xdg-utils)
# Japanese text and Qt's own texts in Japanese; the window works without them, less well.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-ipafont-gothic | fonts-japanese-gothic, qt6-translations-l10n")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)

include(CPack)
