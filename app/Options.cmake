# Renaming by format (Qt Core only), kept apart from the main window so it is tested alone.
add_library(corvane_rename STATIC
    ${CMAKE_CURRENT_LIST_DIR}/RenameRules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RenameRules_NoReplace.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RenameRules_Files.cpp
)
target_include_directories(corvane_rename PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(corvane_rename PUBLIC corvane_tags corvane_platform_core Qt6::Core)
