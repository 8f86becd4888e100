// What the program's windows share in their making: the name, caption, font
// and place of a window, dialog frames, labels, push buttons and check boxes.
#pragma once

#include "Forms.h"

class TLabel;
class TcxButton;

namespace dialoglayout {

constexpr int kMargin = 8;
constexpr int kButtonHeight = 25;
constexpr int kButtonWidth = 75;
constexpr int kCheckHeight = 17;

// The name, the caption and the program's font (Tahoma 8 point), placed as
// position says.
void SetUpForm(TForm* form, const char* name, const char* caption, TPosition position);
// A fixed dialog border, the main window's font, centred on the main window.
void SetUpDialog(TForm* form, const char* name, const char* caption, int clientWidth, int clientHeight);
void SetBold(TControl* control);
TLabel* AddLabel(TForm* form, const char* caption, int left, int top);
// A label left of the box, level with the text in it.
TLabel* AddLabelBeside(TForm* form, TWinControl* box, const char* caption, int left);
TcxButton* AddButton(TForm* form, const char* name, const char* caption, int left, int top, int width);
// A button in the bottom row, a margin above the client area's end.
TcxButton* AddBottomButton(TForm* form, const char* name, const char* caption, int left, int width);
// A check box of the kind the window needs (TcxCheckBox or the class
// library's TCheckBox), owned by the form and shown on parent, its caption
// set.
template <typename TBox>
TBox* AddCheckBox(TForm* form, TWinControl* parent, const char* name, const char* caption, int left, int top,
                  int width);

} // namespace dialoglayout
