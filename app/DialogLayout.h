// What the dialogs share in their making: the frame and font of a dialog
// centred on the main window, labels, and the push buttons of the bottom row.
#pragma once

#include "Forms.h"

class TLabel;
class TStandInButton;

namespace dialoglayout {

constexpr int kMargin = 8;
constexpr int kButtonHeight = 25;

// A fixed dialog border, the main window's font, centred on the main window.
void SetUpDialog(TForm* form, const char* name, const char* caption, int clientWidth, int clientHeight);
TLabel* AddLabel(TForm* form, const char* caption, int left, int top);
// A label left of the box, level with the text in it.
TLabel* AddLabelBeside(TForm* form, TWinControl* box, const char* caption, int left);
// A button in the bottom row, a margin above the client area's end.
TStandInButton* AddBottomButton(TForm* form, const char* name, const char* caption, int left, int width);

} // namespace dialoglayout
