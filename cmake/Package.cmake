# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian package: `cpack -G DEB` in a build folder makes vimbrel_<version>_<arch>.deb from
# the install rules. dpkg-shlibdeps (dpkg-dev) finds the shared libraries the program links;
# what it loads by name or needs as data is listed by hand.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME vimbrel)
set(CPACK_PACKAGE_VENDOR "The Vimbrel developers")
set(CPACK_PACKAGE_CONTACT "The Vimbrel developers <developers@vimbrel.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "photo-album manager that shows albums like a book")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
# Symbols are not shipped: this also keeps a package made from a debug build small.
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary becomes the first line of the package's description, this text the rest.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Vimbrel keeps pictures in albums. An album opens like a book: first an index
of its groups, then two facing pages of photo frames for each group.
Pictures are imported from a memory card or any folder, arranged by
dragging, shown as slide shows, printed, and copied in a small size for
e-mail. The original picture files are never changed.")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The windows ask for Liberation Sans by name; the icon theme makes the menu icon's folders.
# Qt loads the TIFF and WebP readers the import converts from as plugins.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation, qt6-image-formats-plugins")
# Qt's own dialogs and buttons in the user's language (the program's texts are built in).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "hicolor-icon-theme, qt6-translations-l10n")

include(CPack)
