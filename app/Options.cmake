# Renaming by format: the name rule and the rename that never replaces a file (Qt Core only).
add_library(corvane_rename STATIC
    ${CMAKE_CURRENT_LIST_DIR}/RenameRules.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RenameRules_Files.cpp
    ${CMAKE_CURRENT_LIST_DIR}/RenameRules_NoReplace.cpp
)
target_include_directories(corvane_rename PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(corvane_rename PUBLIC corvane_tags corvane_platform_core Qt6::Core)

# The options and renaming-formats dialogs, and the main window's commands for options, renaming
# and the folder tree. They take the folder-browse dialog from the main window's library, which
# links this one back.
add_library(corvane_options STATIC
    ${CMAKE_CURRENT_LIST_DIR}/SettingsWriter.cpp
    ${CMAKE_CURRENT_LIST_DIR}/TokenInsertion.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitMain_FolderTree.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitMain_Options.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitMain_Rename.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitOptions.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitOptions_Handlers.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitOptions_RoundTrip.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitRenamingFormats.cpp
)
target_include_directories(corvane_options PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(corvane_options PUBLIC corvane_rename corvane_app corvane_platform_widgets Qt6::Widgets)
