# The album lookup command of the main window. It takes the main window and the progress window
# from the main window's library, which links this one back.
add_library(corvane_freedb_command STATIC ${CMAKE_CURRENT_LIST_DIR}/UnitMain_Freedb.cpp)
target_link_libraries(corvane_freedb_command PUBLIC corvane_cddb corvane_app corvane_player)
