# `make deb`: a Debian package through CPack. The build that makes it must be configured with
# the prefix the package installs to (/usr), since the program carries that path for its samples.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavrino)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR ${TAVRINO_DEVELOPER_NAME})
set(CPACK_PACKAGE_CONTACT ${TAVRINO_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "checklist runner for train drivers, one step per screen")
set(CPACK_PACKAGE_DESCRIPTION
  "Tavrino guides train drivers through fixed procedures on a touch screen: a\n"
  "topic, a list, then one step per screen, with yes/no questions that branch,\n"
  "full-screen pictures and a countdown stopwatch. The procedures are plain text\n"
  "files in a folder tree that the program only reads. The same dialog runs in a\n"
  "window, in a terminal or headless, and 'tavrino check' finds the faults of a\n"
  "list before it reaches a train. Sample lists are included.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX ${CMAKE_INSTALL_PREFIX})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${TAVRINO_HOMEPAGE})
# dpkg-shlibdeps finds the Qt libraries the program links; Qt's plugins are loaded at run time
# and it cannot see them. xcb, linuxfb, offscreen and the JPEG and GIF readers come with
# libqt6gui6; eglfs, the platform of a kiosk, with libqt6opengl6; the rest is for some devices.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "libqt6opengl6")
set(CPACK_DEBIAN_PACKAGE_SUGGESTS
  "qt6-wayland, qt6-qpa-plugins, qt6-speech-speechd-plugin | qt6-speech-flite-plugin")
include(CPack)
