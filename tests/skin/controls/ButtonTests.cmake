list(APPEND QX_CONTROL_TESTS ButtonTest.cpp ButtonShots.cpp CheckBoxTest.cpp SpinEditTest.cpp CheckGroupTest.cpp)
