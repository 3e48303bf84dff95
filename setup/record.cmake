# The recording page and schedule editor: their rules, keys and files without windows.
harbek_library(harbek_setup_record
    SOURCES
        ${CMAKE_CURRENT_LIST_DIR}/HolidayFile.cpp
        ${CMAKE_CURRENT_LIST_DIR}/RecordRates.cpp
        ${CMAKE_CURRENT_LIST_DIR}/RecordSettings.cpp
        ${CMAKE_CURRENT_LIST_DIR}/ScheduleFile.cpp
    PUBLIC_LIBS harbek_platform_core)
target_link_libraries(harbek_setup_forms PUBLIC harbek_setup_record)

# The recording page's behaviour beside its form.
target_sources(harbek_setup_forms PRIVATE
    ${CMAKE_CURRENT_LIST_DIR}/Record2_rules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/Record2_save.cpp)
