# make package: the Debian packages harbek and harbek-map (the map's browser engine, about 150 MB of
# libraries, which a user without the map need not install). Their run-time libraries come from
# dpkg-shlibdeps; the version is the project's.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME harbek)
set(CPACK_PACKAGE_CONTACT "Harbek developers <harbek@example.org>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_PACKAGE_DIRECTORY ${PROJECT_BINARY_DIR}/packages)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL harbek map)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)

set(CPACK_DEBIAN_HARBEK_PACKAGE_NAME harbek)
set(CPACK_COMPONENT_HARBEK_DESCRIPTION
    "client for vehicle video recorders
Harbek connects to a four-channel vehicle video recorder over the network, shows its cameras live
with GPS and speed overlays and sound, searches its recordings by calendar, hour and minute, plays
them remotely or from a recorder disk or saved files, backs them up, prints snapshots, edits the
recorder's setup and upgrades its firmware.")
# Mounting recorder disks, showing folders, the faces the forms name (with Japanese and Korean), the
# toolkit's own texts in the user's language.
set(CPACK_DEBIAN_HARBEK_PACKAGE_RECOMMENDS
    "harbek-map, udisks2, xdg-utils, fonts-dejavu-core, fonts-liberation, fonts-ipafont-gothic, fonts-nanum, qt6-translations-l10n")

set(CPACK_DEBIAN_MAP_PACKAGE_NAME harbek-map)
set(CPACK_COMPONENT_MAP_DEPENDS harbek)
set(CPACK_DEBIAN_MAP_PACKAGE_DEPENDS libjs-leaflet)
set(CPACK_COMPONENT_MAP_DESCRIPTION
    "map window of the Harbek client
Shows the vehicle's GPS position on an OpenStreetMap map in Harbek, with Leaflet in Qt WebEngine.")

include(CPack)
