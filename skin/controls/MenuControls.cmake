# Menus.
list(APPEND QX_CONTROL_SOURCES TsuiMainMenu.cpp TsuiMainMenu.h)
