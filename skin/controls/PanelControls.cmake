# Edits, panels and group boxes, the progress bar, the status bar and the link label.
list(APPEND QX_CONTROL_SOURCES
    TsuiEdit.cpp
    TsuiMaskEdit.cpp
    TsuiNumberEdit.cpp
    TsuiCustomPanel.cpp
    TsuiImagePanel.cpp
    TsuiCustomGroupBox.cpp
    TsuiGroupBox.cpp
    TsuiPanel.cpp
    TsuiProgressBar.cpp
    TsuiStatusBar.cpp
    TsuiURLLabel.cpp)
