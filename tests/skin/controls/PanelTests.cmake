list(APPEND QX_CONTROL_TESTS EditTest.cpp PanelTest.cpp StatusBarTest.cpp MainMenuTest.cpp)
