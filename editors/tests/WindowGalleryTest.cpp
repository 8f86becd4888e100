// The editors in windows of their own, one form per look with the visual
// style on (this process) and off (the child): check box, combo boxes (one
// open), spin edit, button edit, popup edit and memo, saved as PNGs for a
// person to look at, with the open list's rows and the texts read back.
#include "DropDownTest.h"
#include "PaintTest.h"

#include "cxButtonEdit.h"
#include "cxCheckBox.h"
#include "cxMemo.h"
#include "cxSpinEdit.h"

#include <gtest/gtest.h>

namespace {

template <typename TEditClass> TEditClass* Place(TForm* AForm, const TLook& ALook, int ALeft, int ATop, int AWidth,
                                                 int AHeight = 21) {
  auto* edit = new TEditClass(AForm);
  edit->GetStyle()->GetLookAndFeel()->SetKind(ALook.kind);
  edit->GetStyle()->GetLookAndFeel()->SetNativeStyle(ALook.native);
  edit->SetBounds(ALeft, ATop, AWidth, AHeight);
  edit->SetParent(AForm);
  edit->AfterConstruction();
  return edit;
}

void PaintWindows(const char* ASuffix) {
  SetCursorPos(1270, 1010);
  for (const TLook& look : kLooks) {
    SCOPED_TRACE(look.name);
    TForm form(nullptr);
    form.SetBounds(40, 40, 420, 300);
    form.SetColor(clBtnFace);
    auto* check = Place<TcxCheckBox>(&form, look, 8, 8, 150);
    check->GetProperties()->SetCaption("Check box");
    check->SetChecked(true);
    auto* combo = Place<TcxComboBox>(&form, look, 8, 36, 150);
    for (const char* item : {"alpha", "beta", "gamma", "delta"})
      combo->GetProperties()->GetItems()->Add(item);
    combo->SetItemIndex(1);
    auto* fixed = Place<TcxComboBox>(&form, look, 8, 64, 150);
    fixed->GetProperties()->SetDropDownListStyle(lsFixedList);
    fixed->GetProperties()->GetItems()->Add("fixed item");
    fixed->SetItemIndex(0);
    auto* spin = Place<TcxSpinEdit>(&form, look, 8, 92, 150);
    spin->SetValue(Variant(12));
    auto* button = Place<TcxButtonEdit>(&form, look, 8, 120, 150);
    button->SetText("C:\\path");
    auto* popup = Place<TcxPopupEdit>(&form, look, 8, 148, 150);
    popup->SetText("popup edit");
    auto* memo = Place<TcxMemo>(&form, look, 200, 8, 200, 100);
    memo->GetProperties()->SetScrollBars(ssVertical);
    String lines;
    for (int i = 1; i <= 12; ++i)
      lines += "Memo line " + IntToStr(i) + "\r\n";
    memo->SetText(lines);
    auto* disabled = Place<TcxComboBox>(&form, look, 200, 120, 150);
    disabled->SetText("disabled");
    disabled->SetEnabled(false);
    form.Show();
    form.Update();
    guitest::PumpFor(50);
    combo->SetFocus();
    combo->SetDroppedDown(true);
    ASSERT_TRUE(guitest::PumpUntil([&] { return combo->HasPopupWindow(); }, 3000));
    guitest::PumpFor(100);
    EXPECT_EQ("beta", combo->GetText());
    EXPECT_EQ(4, combo->GetComboLookupData()->GetListBox()->GetCount());
    EXPECT_EQ("12", spin->GetText());
    const guitest::TCapture shot = guitest::TCapture::Paint(form.GetHandle());
    shot.SavePng(String("editors-window-") + look.name + ASuffix);
    const guitest::TCapture list = guitest::TCapture::Paint(combo->GetPopupWindow()->GetHandle());
    list.SavePng(String("editors-window-list-") + look.name + ASuffix);
    // The list shows its rows on the window colour, the current one
    // highlighted.
    EXPECT_GT(list.CountPixels(TRect(0, 0, list.Width(), list.Height()), RGBOf(clHighlight)), 0);
    combo->SetDroppedDown(false);
    guitest::PumpUntil([&] { return !combo->HasPopupWindow(); }, 3000);
  }
}

TEST(EditorWindowGallery, EveryLookWithTheStyleOn) {
  PaintWindows("-style-on");
}

TEST(EditorWindowGalleryStyleOff, EveryLookWithTheStyleOff) {
  PaintWindows("-style-off");
}

} // namespace
