# Installing and packaging, laid out as Debian lays out a program and its data: the programs and
# the launcher in PREFIX/bin, the assembled show folder in PREFIX/share/demo/show, the README and
# the conventions in PREFIX/share/doc/demo. The manuals stay with the sources: the Debian package
# generator reads its file list as a CMake list, where the '[' of the track files' names swallows
# every later name into one, and a longer run of names than the README's makes its file-type query
# fail. Nothing of the build tree is baked in: the launcher finds the show from
# where it lies, and the programs read the folder they are run in.
#   cmake --install build --prefix P      install
#   (cd build && cpack)                   demo_VERSION_ARCH.deb and demo-VERSION-Linux.tar.gz
include(GNUInstallDirs)

install(TARGETS demo demo-capture demo-check demo-tracks demo-preview RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(PROGRAMS ${CMAKE_SOURCE_DIR}/packaging/demo-show DESTINATION ${CMAKE_INSTALL_BINDIR})
install(DIRECTORY ${CMAKE_BINARY_DIR}/show/ DESTINATION ${CMAKE_INSTALL_DATADIR}/demo/show)
install(FILES ${CMAKE_SOURCE_DIR}/README.md ${CMAKE_SOURCE_DIR}/CONVENTIONS.md DESTINATION ${CMAKE_INSTALL_DOCDIR})

set(CPACK_PACKAGE_NAME demo)
set(CPACK_PACKAGE_VENDOR "The demo's makers")
set(CPACK_PACKAGE_CONTACT "The demo's makers <demo@demo.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "real-time audiovisual demo: a four-and-a-half-minute show locked to its song")
set(CPACK_PACKAGE_DESCRIPTION
    "One program that plays one song once and, locked to it, renders a fixed show of 2-D and 3-D OpenGL scenes: a "
    "tunnel flight, two characters with speech bubbles full of lyrics, pictograms, a refrain picture with a turning "
    "sun and a growing stack of photographs, credits and a logo. Run demo-show to play it full-screen (Escape ends "
    "it). With it come the tools to check a show folder (demo-check), inspect and build its tracks (demo-tracks), "
    "render it to frames or a video (demo-capture) and preview it live while it is made (demo-preview).")
set(CPACK_GENERATOR "DEB;TGZ")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)  # as Debian ships programs: no debug sections
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION games)
# The shared libraries the programs link, as dpkg-shlibdeps works them out from the binaries.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Not linked but run: ffmpeg writes demo-capture's videos.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS ffmpeg)
set(CPACK_ARCHIVE_COMPONENT_INSTALL OFF)
set(CPACK_PACKAGE_FILE_NAME "${CPACK_PACKAGE_NAME}-${PROJECT_VERSION}-Linux")
include(CPack)
