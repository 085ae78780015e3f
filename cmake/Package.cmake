# The Debian package: cpack -G DEB in the build folder gives quorvane_<version>_<arch>.deb.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME quorvane)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR Velmaris)
set(CPACK_PACKAGE_CONTACT "Velmaris <velmaris@example.org>")
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION x11)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE https://example.org/velmaris/quorvane/)
# Libraries from what the program links; the rest it needs at run time without linking it.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# libcanberra0 is opened at run time, so shlibdeps does not see it; its PulseAudio backend
# (served by PulseAudio and by PipeWire's pipewire-pulse) is what makes the beeps heard, and
# Qt's Wayland plugin runs the program where no X server can be reached.
set(CPACK_DEBIAN_PACKAGE_DEPENDS
    "libcanberra0, libcanberra-pulse, fonts-ipafont-gothic | fonts-noto-cjk, \
sound-theme-freedesktop, dbus, qt6-wayland")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "joke time bomb that ends the desktop session on a timer
Quorvane lives in the system tray and shows a small window with the time of
day and the time since the computer started. Every day at the alarm minute
it goes off: the clock flashes and beeps, or the desktop is asked to restart,
power off or log the user off.
.
In the gentle mode it first shows a fake program-fault dialog whose close
button carries out the request. It also chimes at every full hour and can
empty the desktop's list of recently used files.
.
Every text of the program is Japanese.")
include(CPack)
