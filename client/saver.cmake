# The stream saver: backup streams into recorded files, without windows, and the main window's side
# of it.
harbek_library(harbek_saver
    SOURCES ${CMAKE_CURRENT_LIST_DIR}/StreamSaver.cpp
    PUBLIC_LIBS harbek_formats harbek_platform_core)
target_link_libraries(harbek_client_forms PUBLIC harbek_saver)
target_sources(harbek_client_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/main_saver.cpp)
