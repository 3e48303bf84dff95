# The main window's mode tabs and remote search.
target_sources(harbek_client_forms PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/main_modes.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_search.cpp
    ${CMAKE_CURRENT_LIST_DIR}/main_search_db.cpp)
target_sources(harbek_client_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/main_search_log.cpp)
