# The main window's playlist and export commands. They take the main window from the main
# window's library, which links this one back.
add_library(corvane_playlist_commands STATIC
    ${CMAKE_CURRENT_LIST_DIR}/UnitMain_Export.cpp
    ${CMAKE_CURRENT_LIST_DIR}/UnitMain_Playlist.cpp
)
target_link_libraries(corvane_playlist_commands PUBLIC corvane_export corvane_app)
