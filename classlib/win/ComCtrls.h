// Wrappers of the common controls: status bar, page control, progress bar,
// hot-key box.
#pragma once

#include "ImgList.h"
#include "ShortCuts.h"
#include "StdCtrls.h"

#include <vector>

class TStatusBar;

class TStatusPanel {
public:
  const String& GetText() const { return FText; }
  void SetText(const String& value);
  int GetWidth() const { return FWidth; }
  void SetWidth(int value);

private:
  friend class TStatusPanels;
  TStatusBar* FBar = nullptr;
  String FText;
  int FWidth = 50;
};

class TStatusPanels {
public:
  explicit TStatusPanels(TStatusBar* bar) : FBar(bar) {}
  TStatusPanel* Add();
  int GetCount() const { return static_cast<int>(FItems.size()); }
  TStatusPanel* GetItem(int index) const { return FItems.at(static_cast<size_t>(index)).get(); }
  void Clear();

private:
  TStatusBar* FBar;
  std::vector<std::unique_ptr<TStatusPanel>> FItems;
};

class TStatusBar : public TWinControl {
public:
  explicit TStatusBar(TComponent* AOwner);
  ~TStatusBar() override;
  TStatusPanels* GetPanels() { return FPanels.get(); }
  bool GetSimplePanel() const { return FSimplePanel; }
  void SetSimplePanel(bool value);
  const String& GetSimpleText() const { return FSimpleText; }
  void SetSimpleText(const String& value);
  bool SizeGrip = true;
  // Shows the panels as they are now.
  void UpdatePanels();

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWndFinished() override { UpdatePanels(); }
  String ClassName() const override { return "TStatusBar"; }

private:
  std::unique_ptr<TStatusPanels> FPanels;
  bool FSimplePanel = false;
  String FSimpleText;
};

class TPageControl;

// A page of a page control; it shows while it is the active page.
class TTabSheet : public TWinControl {
public:
  explicit TTabSheet(TComponent* AOwner);
  ~TTabSheet() override;
  TPageControl* GetPageControl() const { return FPageControl; }
  void SetPageControl(TPageControl* value);
  int GetPageIndex() const;
  bool GetTabVisible() const { return FTabVisible; }
  void SetTabVisible(bool value);
  int ImageIndex = -1;
  void WndProc(TMessage& Message) override;

protected:
  String ClassName() const override { return "TTabSheet"; }

private:
  friend class TPageControl;
  TPageControl* FPageControl = nullptr;
  bool FTabVisible = true;
};

using TTabChangingEvent = std::function<void(TObject* Sender, bool& AllowChange)>;

class TPageControl : public TWinControl {
public:
  explicit TPageControl(TComponent* AOwner);
  ~TPageControl() override;
  int GetPageCount() const { return static_cast<int>(FPages.size()); }
  TTabSheet* GetPage(int index) const { return FPages.at(static_cast<size_t>(index)); }
  TTabSheet* GetActivePage() const { return FActivePage; }
  void SetActivePage(TTabSheet* page);
  int GetActivePageIndex() const;
  void SetActivePageIndex(int value);
  // The page after (or before) the current one, wrapping around.
  void SelectNextPage(bool GoForward);
  TCustomImageList* Images = nullptr;
  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;
  void WndProc(TMessage& Message) override;

protected:
  friend class TTabSheet;
  void CreateParams(TCreateParams& Params) override;
  void CreateWndFinished() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  String ClassName() const override { return "TPageControl"; }

private:
  void InsertPage(TTabSheet* page);
  void RemovePage(TTabSheet* page);
  void UpdateTabs();
  // The tab of a page among the visible tabs, or -1.
  int TabIndexOf(TTabSheet* page) const;
  std::vector<TTabSheet*> FPages;
  TTabSheet* FActivePage = nullptr;
};

class TProgressBar : public TWinControl {
public:
  explicit TProgressBar(TComponent* AOwner);
  int GetMin() const { return FMin; }
  void SetMin(int value);
  int GetMax() const { return FMax; }
  void SetMax(int value);
  int GetPosition();
  void SetPosition(int value);
  int Step = 10;
  void StepIt();
  void StepBy(int delta) { SetPosition(GetPosition() + delta); }
  bool Smooth = false;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWndFinished() override;
  String ClassName() const override { return "TProgressBar"; }

private:
  int FMin = 0;
  int FMax = 100;
  int FPosition = 0;
};

// Loads the common controls once.
void InitCommonControlsOnce();

enum THKModifier { hkShift, hkCtrl, hkAlt, hkExt };
using THKModifiers = TSet<THKModifier>;
enum THKInvalidKey { hcNone, hcShift, hcCtrl, hcAlt, hcShiftCtrl, hcShiftAlt, hcCtrlAlt, hcShiftCtrlAlt };
using THKInvalidKeys = TSet<THKInvalidKey>;

// The system's hot-key box: it shows the key combination pressed in it. A
// combination of InvalidKeys gets Modifiers added; both apply when the
// window is made.
class THotKey : public TWinControl {
public:
  explicit THotKey(TComponent* AOwner);
  TShortCut GetHotKey();
  void SetHotKey(TShortCut value);
  THKInvalidKeys InvalidKeys{hcNone, hcShift};
  THKModifiers Modifiers{hkAlt};

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWndFinished() override;
  String ClassName() const override { return "THotKey"; }

private:
  TShortCut FHotKey = scAlt | 'A';
};
