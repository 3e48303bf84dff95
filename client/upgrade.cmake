# The main window's firmware upgrade.
target_sources(harbek_client_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/main_upgrade.cpp)
