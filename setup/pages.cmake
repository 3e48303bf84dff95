# The setup pages' plain parts: the view of config.ini and the small rules of the fields, testable
# without windows.
harbek_library(harbek_setup_pages
    SOURCES
        ConfigAccess.cpp
        SetupRules.cpp
        Unapplied.cpp
    PUBLIC_LIBS harbek_platform_core)

# What every setup window shares, and the title fields' key filter.
target_sources(harbek_setup_forms PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/PageSupport.cpp
    ${CMAKE_CURRENT_LIST_DIR}/SetupUpload.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TitleFilter.cpp)
target_link_libraries(harbek_setup_forms PUBLIC harbek_setup_pages harbek_client_core harbek_link harbek_net)
