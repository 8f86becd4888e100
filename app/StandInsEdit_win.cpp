#include "StandInsEdit.h"

namespace {

int CALLBACK AddFontFamily(const LOGFONTA* font, const TEXTMETRICA*, DWORD, LPARAM data) {
  // Vertical variants of a family carry an "@" and are not names to choose.
  if (font->lfFaceName[0] == '@') return 1;
  try {
    reinterpret_cast<TStringList*>(data)->Add(font->lfFaceName);
    return 1;
  } catch (...) {
    return 0;
  }
}

// The font families of the screen, each once, sorted without regard to case.
void GetFontFamilies(TStringList& names) {
  names.SetSorted(true);
  names.Duplicates = dupIgnore;
  LOGFONTA font{};
  font.lfCharSet = DEFAULT_CHARSET;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExA(dc, &font, AddFontFamily, reinterpret_cast<LPARAM>(&names), 0);
  ReleaseDC(nullptr, dc);
}

} // namespace

TStrings* TStandInFontNameComboBoxProperties::GetItems() {
  return FCombo->GetItems();
}

TStandInFontNameComboBox::TStandInFontNameComboBox(TComponent* AOwner)
    : TComboBox(AOwner), FProperties(this) {
  TStringList names;
  GetFontFamilies(names);
  GetItems()->Assign(names);
}

void TStandInFontNameComboBox::SetItemIndex(int Index) {
  if (Index == GetItemIndex()) return;
  TComboBox::SetItemIndex(Index);
}
