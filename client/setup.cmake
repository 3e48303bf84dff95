# The main window's setup download.
target_sources(harbek_client_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/main_setup.cpp)
