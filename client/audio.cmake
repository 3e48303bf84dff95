# Sound: the G.726 decoder behind the built-in "g726lib.dll" (with the plain parts), and the main
# window's sound, volume and keys.
pkg_check_modules(SPANDSP REQUIRED IMPORTED_TARGET spandsp)
target_sources(harbek_client_core PRIVATE ${CMAKE_CURRENT_LIST_DIR}/G726Audio.cpp)
target_link_libraries(harbek_client_core PRIVATE PkgConfig::SPANDSP)
target_sources(harbek_client_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/main_audio.cpp)
target_sources(harbek_client_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/main_keys.cpp ${CMAKE_CURRENT_LIST_DIR}/main_keys_map.cpp)
