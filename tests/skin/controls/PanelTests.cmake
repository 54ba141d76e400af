list(APPEND QX_CONTROL_TESTS EditTest.cpp PanelTest.cpp ProgressBarTest.cpp StatusBarTest.cpp MainMenuTest.cpp)
