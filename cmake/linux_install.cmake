# What `cmake --install` puts on a Linux system, and the Debian package made of it (CPack).
include(GNUInstallDirs)

set(pkg ${CMAKE_SOURCE_DIR}/packaging)
set(gen ${CMAKE_BINARY_DIR}/generated/install)

install(TARGETS keylookup)

# The desktop entry, the AppStream metadata and the icon share one name: the application id.
string(REGEX REPLACE "\\.[^.]*$" "" KEYLOOKUP_APP_ID_DOMAIN "${KEYLOOKUP_APP_ID}")
configure_file(src/platform/gtk/keylookup.desktop.in ${gen}/${KEYLOOKUP_APP_ID}.desktop @ONLY)
configure_file(${pkg}/metainfo.xml.in ${gen}/${KEYLOOKUP_APP_ID}.metainfo.xml @ONLY)
install(FILES ${gen}/${KEYLOOKUP_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${gen}/${KEYLOOKUP_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

set(icons ${CMAKE_SOURCE_DIR}/src/ui/assets/icons)
foreach(size 16 24 32 48 64 128 256)
  install(FILES ${icons}/${size}x${size}.png RENAME ${KEYLOOKUP_APP_ID}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${icons}/scalable.svg RENAME ${KEYLOOKUP_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# The manual page and the change log go compressed, without a time stamp, as Debian wants them.
find_program(GZIP gzip REQUIRED)
foreach(doc keylookup.1 changelog)
  add_custom_command(OUTPUT ${gen}/${doc}.gz
    COMMAND ${GZIP} -9n --stdout ${pkg}/${doc} > ${gen}/${doc}.gz
    DEPENDS ${pkg}/${doc})
endforeach()
add_custom_target(keylookup_docs ALL DEPENDS ${gen}/keylookup.1.gz ${gen}/changelog.gz)
install(FILES ${gen}/keylookup.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${gen}/changelog.gz ${pkg}/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package: the library dependencies found by dpkg-shlibdeps, a font with the Chinese
# texts in it (without one the captions are empty boxes), the files stripped.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME keylookup)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "岚谱音频")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "look up the musical key of dance music tracks")
set(CPACK_PACKAGE_DESCRIPTION "\
A small desktop client that looks up the musical key of electronic dance
music tracks: type a title, press Enter, and the key-lookup site's answer
is shown in the window. Two buttons open the maker's sites in the default
web browser.")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://${KEYLOOKUP_MAIN_SITE}/")
string(REGEX REPLACE "^www\\.|:[0-9]+$" "" maker_domain "${KEYLOOKUP_MAIN_SITE}")
set(KEYLOOKUP_MAINTAINER "岚谱音频 <packages@${maker_domain}>" CACHE STRING
    "The Debian package's maintainer, as \"Name <address>\"")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KEYLOOKUP_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
