#include "Dump.h"

#include "ActnList.h"
#include "Buttons.h"
#include "cxButtonEdit.h"
#include "CheckLst.h"
#include "DialogLayout.h"
#include "ImgList.h"
#include "Main.h"

#include <memory>

TfmDump* fmDump = nullptr;

using namespace dialoglayout;

namespace {

constexpr TColor kStatusColor = clNavy;

} // namespace

TfmDump::TfmDump(TComponent* AOwner) : TForm(AOwner) {
  fmDump = this;
  SetUpForm(this, "fmDump", "Extract database structure", poMainFormCenter);
  SetBounds(0, 0, 534, 342);
  const int clientWidth = GetClientWidth();
  const int clientHeight = GetClientHeight();
  const int bottomRow = clientHeight - kMargin - kButtonHeight;

  auto bitButton = [this](const char* name, const char* caption, int left, int top, TAnchors anchors) {
    auto* button = new TBitBtn(this);
    button->SetName(name);
    button->SetParent(this);
    button->SetCaption(caption);
    button->SetBounds(left, top, kButtonWidth, kButtonHeight);
    button->SetAnchors(anchors);
    return button;
  };

  CheckListBox1 = new TCheckListBox(this);
  CheckListBox1->SetName("CheckListBox1");
  CheckListBox1->SetParent(this);
  CheckListBox1->SetBounds(kMargin, kMargin, 217, bottomRow - 2 * kMargin);
  CheckListBox1->SetAnchors(TAnchors{akLeft, akTop, akBottom});
  cxButton1 = bitButton("cxButton1", "All", kMargin, bottomRow, TAnchors{akLeft, akBottom});
  cxButton2 =
      bitButton("cxButton2", "None", kMargin + kButtonWidth + 6, bottomRow, TAnchors{akLeft, akBottom});

  // The connections, each with its Edit button at the right and its status
  // below both.
  const int left = kMargin + 217 + 12;
  const int editLeft = clientWidth - kMargin - kButtonWidth;
  auto radio = [this, left](const char* name, const char* caption, int top) {
    auto* button = new TRadioButton(this);
    button->SetName(name);
    button->SetParent(this);
    button->SetCaption(caption);
    button->SetBounds(left, top, 120, kCheckHeight);
    return button;
  };
  // A status names a user, a host and a database: two lines leave room for
  // long names.
  auto status = [this, left, clientWidth](const char* name, int top) {
    auto* label = new TLabel(this);
    label->SetName(name);
    label->SetParent(this);
    label->SetAutoSize(false);
    label->SetWordWrap(true);
    label->SetBounds(left + 17, top, clientWidth - kMargin - (left + 17), 26);
    label->SetAnchors(TAnchors{akLeft, akTop, akRight});
    label->SetCaption(name);
    SetBold(label);
    label->GetFont()->SetColor(kStatusColor);
    return label;
  };
  auto editButton = [&](const char* name, TAction* action, int top) {
    TBitBtn* button = bitButton(name, "Edit...", editLeft, top, TAnchors{akTop, akRight});
    button->SetAction(action);
    auto glyph = std::make_unique<TBitmap>();
    fmMain->imgList->GetBitmap(action->GetImageIndex(), glyph.get());
    button->SetGlyph(glyph.get());
    return button;
  };
  rSourceDB = radio("rSourceDB", "Source ", 12);
  lbSourceDB = status("lbSourceDB", 36);
  lbSourceDB->SetEnabled(false);
  BitBtn1 = editButton("BitBtn1", fmMain->acEditSrcDB, 8);
  rTargetDB = radio("rTargetDB", "Target", 68);
  rTargetDB->SetChecked(true);
  lbTargetDB = status("lbTargetDB", 92);
  BitBtn4 = editButton("BitBtn4", fmMain->acEditTgtDB, 64);
  rSourceDB->OnClick = [this](TObject*) { rSourceDBClick(); };

  auto checkBox = [this](const char* name, const char* caption, bool checked, int left, int top) {
    auto* box = AddCheckBox<TCheckBox>(this, this, name, caption, left, top, 200);
    box->SetChecked(checked);
    return box;
  };
  cxCheckBox1 = checkBox("cxCheckBox1", "Extract metadata", true, left, 122);
  cxCheckBox2 = checkBox("cxCheckBox2", "Extract data", false, left, 140);

  Label1 = new TLabel(this);
  Label1->SetName("Label1");
  Label1->SetParent(this);
  Label1->SetBounds(left, 164, 0, 0);
  Label1->SetCaption("Script options");
  SetBold(Label1);
  const int optionLeft = left + 8;
  cxCheckBox3 = checkBox("cxCheckBox3", "Use short insert syntax", true, optionLeft, 181);
  cxCheckBox7 = checkBox("cxCheckBox7", "Ignore foreign key restrictions", true, optionLeft, 199);
  cxCheckBox5 = checkBox("cxCheckBox5", "Drop DB if exists", false, optionLeft, 217);
  cxCheckBox4 = checkBox("cxCheckBox4", "Create and use DB", false, optionLeft, 235);
  cxCheckBox6 = checkBox("cxCheckBox6", "Drop table if exists", false, optionLeft, 253);

  butOK = bitButton("butOK", "Extract", editLeft - 6 - kButtonWidth, bottomRow, TAnchors{akRight, akBottom});
  butOK->SetDefault(true);
  butOK->SetEnabled(false);
  butCancel = bitButton("butCancel", "Cancel", editLeft, bottomRow, TAnchors{akRight, akBottom});
  butCancel->Cancel = true;
  butCancel->ModalResult = mrCancel;
}

TfmDump::~TfmDump() {
  if (fmDump == this) fmDump = nullptr;
}

void TfmDump::rSourceDBClick() {
  lbSourceDB->SetEnabled(true);
  fmMain->acEditSrcDB->SetEnabled(true);
  fmMain->edScriptPath->SetEnabled(false);
  fmMain->UpdateStatus();
}
