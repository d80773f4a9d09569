# `cpack -G DEB` in the build folder: a Debian package of what `cmake --install` puts below
# /usr, its library dependencies found by dpkg-shlibdeps (dpkg-dev and file, installed by
# scripts/setup.sh). The words are those of the AppStream metainfo.
set(CPACK_PACKAGE_NAME orvane)
set(CPACK_PACKAGE_VENDOR "The Orvane developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Draw on pictures and apply effects to them")
# The long description as the control file shows it, one line per line here.
string(JOIN "\n" CPACK_PACKAGE_DESCRIPTION
  "Orvane is a small raster image editor. A main window holds any number of"
  "pictures, each in a window of its own, with a tool box for drawing and a"
  "toolbar of effects. It opens PNG, BMP, RLE, DIB, GIF, JPEG, JIF, WMF, ICO,"
  "PCX and TGA pictures, applies pixel effects such as stained glass, wobbly,"
  "waving, circlize and drip, runs plug-ins, prints and scans. The orvane-batch"
  "command applies the same effects without a window.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)

set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Orvane developers <developers@orvane.org>")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.orvane.org/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

include(CPack)
