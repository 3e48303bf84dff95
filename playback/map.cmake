# The map window's page goes into the client's program folder, resources/, with Leaflet from Debian's
# libjs-leaflet beside it (copied at build time, never kept in the tree).
set(leaflet_source /usr/share/javascript/leaflet)
if(NOT EXISTS ${leaflet_source}/leaflet.min.js)
    message(FATAL_ERROR "Leaflet not found in ${leaflet_source}: install libjs-leaflet (make deps)")
endif()
set(map_resources ${PROJECT_BINARY_DIR}/client/resources)
set(leaflet_files leaflet.min.js leaflet.css images/layers.png images/layers-2x.png images/marker-icon.png
    images/marker-icon-2x.png images/marker-shadow.png)
set(map_outputs ${map_resources}/client_Gmap.html)
set(map_commands COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/resources/client_Gmap.html
    ${map_resources}/client_Gmap.html)
set(map_inputs ${PROJECT_SOURCE_DIR}/resources/client_Gmap.html)
foreach(file IN LISTS leaflet_files)
    get_filename_component(dir ${map_resources}/leaflet/${file} DIRECTORY)
    list(APPEND map_outputs ${map_resources}/leaflet/${file})
    list(APPEND map_inputs ${leaflet_source}/${file})
    list(APPEND map_commands COMMAND ${CMAKE_COMMAND} -E make_directory ${dir}
        COMMAND ${CMAKE_COMMAND} -E copy ${leaflet_source}/${file} ${map_resources}/leaflet/${file})
endforeach()
add_custom_command(OUTPUT ${map_outputs} ${map_commands} DEPENDS ${map_inputs}
    COMMENT "Copying the map page and Leaflet" VERBATIM)
add_custom_target(harbek_map_page ALL DEPENDS ${map_outputs})
if(TARGET harbek_playback_forms)
    add_dependencies(harbek_playback_forms harbek_map_page)
endif()
