# Installing (cmake --install) and the Debian package (cpack -G DEB). The program, ilftool,
# the desktop entry, the MIME package for ".ilf" files and the icons go where a Linux desktop
# looks for them under the prefix.
include(GNUInstallDirs)

# The program and ilftool install themselves (app/, cli/).

# The same texts the program writes for the user at start-up; the installed entry finds the
# program on PATH.
file(READ ${PROJECT_SOURCE_DIR}/resources/pictarium.desktop.in desktop_entry)
string(REPLACE "{EXEC}" "pictarium" desktop_entry "${desktop_entry}")
file(CONFIGURE OUTPUT ${PROJECT_BINARY_DIR}/packaging/pictarium.desktop CONTENT "${desktop_entry}" @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/packaging/pictarium.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/resources/pictarium-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME pictarium.xml)

# The program icon, as the application's icon and as the library files' icon, in the hicolor
# folder of its size (read from the PNG header: width at byte 16, big-endian).
set(icon_png ${PROJECT_SOURCE_DIR}/resources/icons/pictarium.png)
if(EXISTS ${icon_png})
  file(READ ${icon_png} png_header LIMIT 24 HEX)
  string(SUBSTRING "${png_header}" 32 8 png_width)
  math(EXPR icon_side "0x${png_width}")
  set(icon_dir ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${icon_side}x${icon_side})
  install(FILES ${icon_png} DESTINATION ${icon_dir}/apps)
  install(FILES ${icon_png} DESTINATION ${icon_dir}/mimetypes RENAME application-x-pictarium-ilf.png)
endif()

set(CPACK_PACKAGE_NAME pictarium)
set(CPACK_PACKAGE_VENDOR "Pictarium project")
set(CPACK_PACKAGE_CONTACT "Pictarium project <dev@pictarium.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "icon library tool: collects icons into .ILF libraries and exports them")
set(CPACK_PACKAGE_DESCRIPTION "Pictarium keeps icons in icon libraries (.ILF files): a tree of titled nodes, \
each owning a set of icons. Icons come in from EXE/DLL modules, .ico and .bmp files and go out as .ico files \
or bitmaps. Includes the command-line tool ilftool.")
set(CPACK_PACKAGE_HOMEPAGE_URL "https://www.pictarium.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
# Libraries (Qt, zlib, libpng, libc) are found by dpkg-shlibdeps; the user interface is
# Chinese, so it needs a font with those characters.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-wqy-microhei | fonts-noto-cjk | fonts-arphic-uming")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "shared-mime-info, desktop-file-utils, hicolor-icon-theme, xdg-utils")
include(CPack)
