// Dialogs replace every text of their controls at initialisation by string-
// table texts in the host language: a table of control id (the control's
// objectName) to string id, one per dialog.
#pragma once

#include <cstdint>
#include <functional>
#include <initializer_list>

class QDialog;
class QDialogButtonBox;
class QWidget;

struct DPX_ControlText {
  const char* controlId;
  uint32_t stringId;
};

// The dialog's title from `titleId` and each named control's text.
void DPX_ApplyTexts(QWidget* dialog, uint32_t titleId, std::initializer_list<DPX_ControlText> texts);

// OK ("1"), Cancel ("2") and, when `clear` is given, a third button ("3") that
// runs it; OK accepts the dialog, Cancel rejects it.
QDialogButtonBox* DPX_AddDialogButtons(QDialog* dialog, std::function<void()> clear = {});

// A new control of the dialog, named by its id.
template <class Control>
Control* DPX_NewControl(QWidget* dialog, const char* id) {
  auto* control = new Control(dialog);
  control->setObjectName(id);
  return control;
}
