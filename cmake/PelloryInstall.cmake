# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: The Pellory developers

# Installs Pellory as a desktop program and packages it as a .deb:
#   bin/pellory and its manual page, the desktop entry, the icons (32x32 and scalable), the
#   AppStream metainfo, and in share/doc/pellory the user guide (where F1 looks for it),
#   its pictures, the copyright file and the changelog.
# The guide and its pictures are also copied into the build folder at the same place below its top, so
# that a program run from the build finds it the same way.

set(PELLORY_APP_ID io.github.pellory.Pellory)
set(PELLORY_GUIDE_DIR ${CMAKE_INSTALL_DATAROOTDIR}/doc/pellory)
set(pellory_packaging ${PROJECT_SOURCE_DIR}/packaging)

file(GLOB pellory_guide_files CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/doc/*.html)
file(GLOB pellory_guide_images CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/doc/images/*.png)
foreach(file ${pellory_guide_files} ${pellory_guide_images})
  file(RELATIVE_PATH name ${PROJECT_SOURCE_DIR}/doc ${file})
  configure_file(${file} ${CMAKE_BINARY_DIR}/${PELLORY_GUIDE_DIR}/${name} COPYONLY)
endforeach()

# pellory_install_gzipped(SOURCE NAME DESTINATION)
# Installs SOURCE compressed as NAME, as Debian ships manual pages and changelogs; gzip -n
# leaves out the name and time, so that every build makes the same file.
function(pellory_install_gzipped source name destination)
  set(compressed ${CMAKE_BINARY_DIR}/gzipped/${name})
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/gzipped
    COMMAND sh -c "gzip -9n < \"$1\" > \"$2\"" gzip ${source} ${compressed}
    DEPENDS ${source} VERBATIM)
  add_custom_target(gzip_${name} ALL DEPENDS ${compressed})
  install(FILES ${compressed} DESTINATION ${destination})
endfunction()

install(FILES ${pellory_guide_files} ${pellory_packaging}/copyright
        DESTINATION ${PELLORY_GUIDE_DIR})
install(FILES ${pellory_guide_images} DESTINATION ${PELLORY_GUIDE_DIR}/images)
pellory_install_gzipped(${pellory_packaging}/changelog changelog.gz ${PELLORY_GUIDE_DIR})
pellory_install_gzipped(${pellory_packaging}/pellory.1 pellory.1.gz ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${pellory_packaging}/${PELLORY_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/applications)
install(FILES ${pellory_packaging}/${PELLORY_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/metainfo)
install(FILES ${pellory_packaging}/${PELLORY_APP_ID}.png
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/32x32/apps)
install(FILES ${pellory_packaging}/${PELLORY_APP_ID}.svg
        DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/icons/hicolor/scalable/apps)

# The installed tree is checked from a temporary prefix, and the package from the build
# folder; the validators run when the machine has them (the test command installs them)
# and the checks are skipped otherwise.
set(pellory_check ${PROJECT_SOURCE_DIR}/tests/install/check-install.sh)
set(pellory_prefix ${CMAKE_BINARY_DIR}/test-install)
foreach(check tree desktop metainfo package)
  add_test(NAME install_${check}
           COMMAND bash ${pellory_check} ${check} ${CMAKE_BINARY_DIR} ${pellory_prefix})
  pellory_test_environment(install_${check})
endforeach()
set_tests_properties(install_tree PROPERTIES FIXTURES_SETUP pellory_installed)
set_tests_properties(install_desktop install_metainfo PROPERTIES
  FIXTURES_REQUIRED pellory_installed SKIP_RETURN_CODE 77)
set_tests_properties(install_package PROPERTIES SKIP_RETURN_CODE 77)

# `cpack` in the build folder makes pellory_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME pellory)
set(CPACK_PACKAGE_VENDOR "The Pellory developers")
set(CPACK_PACKAGE_CONTACT "The Pellory developers <pellory@users.noreply.github.com>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "batch file renamer with preview")
# Debian wants the lines of a package description within 80 columns.
set(CPACK_PACKAGE_DESCRIPTION
    "Pellory renames a whole folder of files at once: characters kept from the\n"
    "old name, a prefix, a decimal or alphabetic counter, text after the counter,\n"
    "an extension rule and a letter-case style, or one wildcard pattern. Preview\n"
    "shows every new name first and refuses a scheme that would give two files\n"
    "the same name. Pellory never replaces an existing file.")
string(REPLACE ";" "" CPACK_PACKAGE_DESCRIPTION "${CPACK_PACKAGE_DESCRIPTION}")
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${CPACK_PACKAGE_CONTACT}")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# dpkg-shlibdeps names the exact libraries the program links (libqt6widgets6 and the rest).
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The plugins that put a window on X11 or Wayland are only recommended by libqt6gui6; a
# system that skips recommendations would install a program that cannot open its window.
# Qt's own translations give its standard buttons ("Yes", "No") the user's language.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_STRIP_FILES ON)
include(CPack)
