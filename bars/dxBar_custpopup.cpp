// The customizing popup: the context menu of a link in customizing mode,
// with its reset, delete, name, paint-style and group-start entries.
#include "dxBar.h"

#include "dxBarCommon.h"
#include "dxBarEdits.h"
#include "dxBarStrs.h"

#include "Forms.h"

namespace {

class TdxBarCustomizingPopup;

TdxBarCustomizingPopup* gActivePopup = nullptr;
// The link the open popup was made for; none once that link was deleted.
TdxBarItemLink* gPopupLink = nullptr;
TdxBarItemLinks* gPopupLinks = nullptr;

enum {
  kReset = 0,
  kDelete = 1,
  kName = 2,
  kDefaultStyle = 3,
  kTextOnlyAlways = 4,
  kTextOnlyInMenus = 5,
  kImageAndText = 6,
  kBeginGroup = 7
};

// A menu of its own entries that stays an ordinary menu while the manager
// customizes; it frees itself when it closes.
class TdxBarCustomizingPopup : public TdxBarSubMenuControl {
public:
  TdxBarCustomizingPopup(TdxBarManager* Manager, TdxBarItemLink* Link, TdxBarItemLinks* Links)
      : TdxBarSubMenuControl(Manager), FLinks(std::make_unique<TdxBarItemLinks>(Manager, this)) {
    FreeUnusedTempItems();
    SetItemLinks(FLinks.get());
    gPopupLink = Link;
    gPopupLinks = Links;
    SetAnimating(false);
    if (Link) AddEntries(Link);
    Manager->DoShowCustomizingPopup(FLinks.get());
  }
  ~TdxBarCustomizingPopup() override {
    DestroyHandle();
    if (gActivePopup == this) gActivePopup = nullptr;
    SetItemLinks(nullptr);
    FLinks->SetBarControl(nullptr);
  }
  bool IsCustomizing() const override { return false; }

protected:
  String ClassName() const override { return "TdxBarCustomizingPopup"; }

private:
  TdxBarItem* AddEntry(TdxBarItem* item, UINT caption, int tag, bool beginGroup) {
    TempItems().push_back(item);
    item->SetCaption(dxBarString(caption));
    item->Tag = tag;
    TdxBarItemLink* link = FLinks->Add();
    link->SetItem(item);
    link->SetBeginGroup(beginGroup);
    return item;
  }
  TdxBarButton* AddButton(UINT caption, int tag, bool beginGroup) {
    auto* button = new TdxBarButton(nullptr);
    AddEntry(button, caption, tag, beginGroup);
    button->OnClick = [](TObject* Sender) { Command(static_cast<TComponent*>(Sender)->Tag); };
    return button;
  }
  void AddEntries(TdxBarItemLink* link) {
    AddButton(dxSBAR_CP_RESET, kReset, true);
    AddButton(dxSBAR_CP_DELETE, kDelete, false);
    auto* edit = new TdxBarEdit(nullptr);
    AddEntry(edit, dxSBAR_CP_NAME, kName, true);
    edit->SetText(link->GetCaption());
    edit->OnChange = [](TObject* Sender) { Rename(static_cast<TdxBarEdit*>(Sender)->GetText()); };
    auto* button = dynamic_cast<TdxBarButton*>(link->GetItem());
    const bool styles = button && button->AllowsPaintStyle();
    const UINT captions[] = {dxSBAR_CP_DEFAULTSTYLE, dxSBAR_CP_TEXTONLYALWAYS, dxSBAR_CP_TEXTONLYINMENUS,
                             dxSBAR_CP_IMAGEANDTEXT};
    const int current = styles ? link->GetPaintStyle() : psStandard;
    for (int style = psStandard; style <= psCaptionGlyph; ++style) {
      TdxBarButton* entry = AddButton(captions[style], kDefaultStyle + style, style == psStandard);
      entry->SetButtonStyle(bsChecked);
      entry->SetGroupIndex(-1000);
      entry->SetDown(style == current);
      entry->SetEnabled(styles);
    }
    TdxBarButton* group = AddButton(dxSBAR_CP_BEGINAGROUP, kBeginGroup, true);
    group->SetButtonStyle(bsChecked);
    group->SetEnabled(link->GetLinks() && link->GetLinks()->GetVisibleCount() > 0 &&
                      link->GetLinks()->GetVisibleLink(0) != link);
    group->SetDown(link->GetBeginGroup());
  }

  static void RebuildTarget() {
    TCustomdxBarControl* window = gPopupLinks ? gPopupLinks->GetBarControl() : nullptr;
    if (IsBarControlAlive(window)) window->Rebuild();
  }
  static void Command(int tag) {
    TdxBarItemLink* link = gPopupLink;
    if (!link) return;
    switch (tag) {
    case kReset:
      link->SetUserDefine(TdxBarUserDefines());
      break;
    case kDelete:
      gPopupLink = nullptr;
      delete link;
      break;
    case kDefaultStyle:
    case kTextOnlyAlways:
    case kTextOnlyInMenus:
    case kImageAndText:
      link->SetUserPaintStyle(static_cast<TdxBarPaintStyle>(tag - kDefaultStyle));
      break;
    case kBeginGroup:
      link->SetBeginGroup(!link->GetBeginGroup());
      break;
    default:
      return;
    }
    RebuildTarget();
  }
  static void Rename(const String& text) {
    TdxBarItemLink* link = gPopupLink;
    if (!link) return;
    if (text.empty()) {
      // The menu goes before the message box takes the user.
      if (gActivePopup) gActivePopup->Release();
      Application->MessageBox(dxBarString(dxSBAR_CMDNAMECANNOTBEBLANK), Application->Title, MB_ICONERROR);
      return;
    }
    link->SetUserCaption(text);
    RebuildTarget();
  }

  std::unique_ptr<TdxBarItemLinks> FLinks;
};

} // namespace

void ShowCustomizingPopup(TdxBarManager* BarManager, TdxBarItemLink* Link, TdxBarItemLinks* Links,
                          POINT ScreenPoint) {
  if (gActivePopup) gActivePopup->Release();
  auto* popup = new TdxBarCustomizingPopup(BarManager, Link, Links);
  if (popup->GetItemLinks()->GetCount() == 0) {
    delete popup;
    return;
  }
  gActivePopup = popup;
  popup->SetBounds(ScreenPoint.x, ScreenPoint.y, popup->GetWidth(), popup->GetHeight());
  ShowMenuWindow(popup);
}

TdxBarSubMenuControl* ActiveCustomizingPopup() {
  return gActivePopup;
}
