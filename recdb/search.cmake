# The search windows' behaviour: window-free helpers join the query library, shared window helpers the
# search windows.
target_sources(harbek_recdb PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SearchDb.cpp)
if(TARGET harbek_recdb_forms)
    target_sources(harbek_recdb_forms PRIVATE ${CMAKE_CURRENT_LIST_DIR}/SearchWindowLayout.cpp)
endif()
