# What `cmake --install` puts where, and the Debian package `make package` builds from it.
include(GNUInstallDirs)

set(KELMOR_HOMEPAGE "https://www.kelmor.example" CACHE STRING "The project's home page")
set(KELMOR_SCREENSHOTS "${KELMOR_HOMEPAGE}/docs" CACHE STRING
    "Where the published screenshots (docs/*.png) live, for the AppStream metainfo")
set(KELMOR_MAINTAINER "Kelmor developers <maintainers@kelmor.example>" CACHE STRING
    "The Debian package's maintainer")

set(desktop ${PROJECT_SOURCE_DIR}/data/desktop)
set(generated ${PROJECT_BINARY_DIR}/desktop)

# The PNG icons are rendered from the one drawing, the man pages compressed as Debian wants.
find_program(RSVG_CONVERT rsvg-convert REQUIRED)
set(desktop_outputs)
foreach(size 16 32 48 64 128 256)
    set(png ${generated}/icons/${size}x${size}/kelmor.png)
    add_custom_command(OUTPUT ${png}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/icons/${size}x${size}
        COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${png} ${desktop}/kelmor.svg
        DEPENDS ${desktop}/kelmor.svg VERBATIM)
    list(APPEND desktop_outputs ${png})
    install(FILES ${png} DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
foreach(page kelmor kelmor-cli)
    set(man ${generated}/man/${page}.1.gz)
    add_custom_command(OUTPUT ${man}
        COMMAND ${CMAKE_COMMAND} -E make_directory ${generated}/man
        COMMAND gzip -9n -c ${PROJECT_SOURCE_DIR}/data/man/${page}.1 > ${man}
        DEPENDS ${PROJECT_SOURCE_DIR}/data/man/${page}.1)
    list(APPEND desktop_outputs ${man})
    install(FILES ${man} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(desktop_files ALL DEPENDS ${desktop_outputs})

configure_file(${desktop}/org.kelmor.Kelmor.metainfo.xml.in
               ${generated}/org.kelmor.Kelmor.metainfo.xml @ONLY)

install(TARGETS kelmor kelmor-cli RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(TARGETS kelmor-svg-render RUNTIME DESTINATION ${KELMOR_HELPER_INSTALL_DIR})
install(FILES ${desktop}/kelmor.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
install(FILES ${desktop}/org.kelmor.Kelmor.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${desktop}/kelmor.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
install(FILES ${generated}/org.kelmor.Kelmor.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/samples/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kelmor/samples)
# The button designer's shipped styles, beside the sample; the program also carries them and
# copies them into the user's styles folder on first use.
install(DIRECTORY ${PROJECT_SOURCE_DIR}/data/styles/ DESTINATION ${CMAKE_INSTALL_DATADIR}/kelmor/styles)

# The Debian package: its library dependencies are computed from the binaries by dpkg-shlibdeps.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME kelmor)
set(CPACK_PACKAGE_VENDOR Kelmor)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "build web pages of mouse-over image buttons")
set(CPACK_PACKAGE_DESCRIPTION
    "Kelmor is a desktop program for web authors. Describe up to ten image buttons in a\n"
    "table, press Build, and Kelmor writes a complete HTML page whose buttons swap\n"
    "pictures (and, on the sound page, play a sound) under the mouse. It also offers a\n"
    "picture browser with GIF/BMP conversion, an HTML editor, a WAV play/record window\n"
    "and an animated GIF creator. kelmor-cli builds pages and checks pictures from scripts.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${KELMOR_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "${KELMOR_HOMEPAGE}")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
include(CPack)
