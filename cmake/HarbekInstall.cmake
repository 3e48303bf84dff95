# What an install puts where, under the prefix (cmake --install, make install, make package):
#   bin/harbek                                  the program
#   share/harbek/                               its forms, skins, language tables and map page
#   lib/harbek/harbek_webengine.so              the map's browser engine    } component "map": the
#   share/harbek/leaflet                        a link to Debian's Leaflet  } package harbek-map
#   share/applications/harbek.desktop           the desktop entry
#   share/metainfo/org.example.harbek.metainfo.xml
#   share/icons/hicolor/*/apps/harbek.{png,svg} the program's icon
#   share/man/man1/harbek.1.gz
# Everything else comes from the component "harbek". Copies of the build's links into the source tree
# (resources/forms, resources/LANGUAGE) are made from the source itself.

set(source_resources ${PROJECT_SOURCE_DIR}/resources)
set(built_resources ${PROJECT_BINARY_DIR}/client/resources)
set(generated ${PROJECT_BINARY_DIR}/install)
file(MAKE_DIRECTORY ${generated})

# Installed programs carry no debugging information, which names the build machine's folders.
install(CODE "set(CMAKE_INSTALL_DO_STRIP TRUE)" ALL_COMPONENTS)

install(TARGETS harbek RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT harbek)
install(DIRECTORY ${source_resources}/forms ${source_resources}/LANGUAGE
    DESTINATION ${HARBEK_INSTALL_DATADIR} COMPONENT harbek
    PATTERN README.md EXCLUDE)
install(DIRECTORY ${built_resources}/skins DESTINATION ${HARBEK_INSTALL_DATADIR} COMPONENT harbek)
install(FILES ${source_resources}/client_Gmap.html DESTINATION ${HARBEK_INSTALL_DATADIR} COMPONENT harbek)
install(DIRECTORY ${built_resources}/icons/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
    COMPONENT harbek)
install(FILES ${source_resources}/desktop/harbek.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications
    COMPONENT harbek)
configure_file(${source_resources}/desktop/harbek.metainfo.xml.in ${generated}/org.example.harbek.metainfo.xml
    @ONLY)
install(FILES ${generated}/org.example.harbek.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
    COMPONENT harbek)
configure_file(${source_resources}/desktop/harbek.1.in ${generated}/harbek.1 @ONLY)
file(ARCHIVE_CREATE OUTPUT ${generated}/harbek.1.gz PATHS ${generated}/harbek.1 FORMAT raw COMPRESSION GZip
    COMPRESSION_LEVEL 9)
install(FILES ${generated}/harbek.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT harbek)

install(TARGETS harbek_webengine LIBRARY DESTINATION ${HARBEK_INSTALL_MODULEDIR} COMPONENT map)
# Leaflet stays Debian's (libjs-leaflet), which receives its fixes; the build's own copy is not installed.
file(CREATE_LINK /usr/share/javascript/leaflet ${generated}/leaflet SYMBOLIC)
install(FILES ${generated}/leaflet DESTINATION ${HARBEK_INSTALL_DATADIR} COMPONENT map)
