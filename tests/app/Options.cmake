# Tests of renaming by format, the options dialog and the renaming-formats dialog.
corvane_add_test(RenameRulesTest SOURCES ${CMAKE_CURRENT_LIST_DIR}/RenameRulesTest.cpp LIBRARIES corvane_rename)
