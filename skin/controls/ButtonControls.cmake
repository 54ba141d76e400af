# Buttons, check boxes, radio buttons, spin edits and check and radio groups.
list(APPEND QX_CONTROL_SOURCES
  TsuiCustomButton.cpp TsuiCustomButton.h
  TsuiButton.cpp TsuiButton.h
  TsuiArrowButton.cpp TsuiArrowButton.h
  TsuiCheckBox.cpp TsuiCheckBox.h
  TsuiRadioButton.cpp TsuiRadioButton.h
  TsuiSpinButtons.cpp TsuiSpinButtons.h
  TsuiSpinEdit.cpp TsuiSpinEdit.h)
list(APPEND QX_CONTROL_SOURCES
  TsuiCheckGroup.cpp TsuiCheckGroup.h
  TsuiCheckGroupButton.cpp TsuiCheckGroupButton.h
  TsuiRadioGroup.cpp TsuiRadioGroup.h
  TsuiRadioGroupButton.cpp TsuiRadioGroupButton.h)
