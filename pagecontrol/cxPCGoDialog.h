// The go dialog: the popup list of the tabs that can be chosen, opened from
// the tab control's go-dialog button.
#pragma once

#include "cxPC.h"

class TcxPCGoDialog;

// One entry's tab index.
class TcxTabIndex : public TObject {
public:
  explicit TcxTabIndex(int AIndex) : Index(AIndex) {}
  int Index;
};

class TcxPCGoDialogListBox : public TcxCustomInnerListBox {
public:
  explicit TcxPCGoDialogListBox(TComponent* AOwner);
  std::function<void(int Index)> OnChosen;
  void SetScrollWidth(int Value);

protected:
  void CreateParams(TCreateParams& Params) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  String ClassName() const override { return "TcxPCGoDialogListBox"; }

private:
  void Choose(int Index);
  int FScrollWidth = 0;
};

// Draws the dialog's raised border.
class TcxPCGoDialogViewInfo : public TcxContainerViewInfo {
public:
  void Paint(TcxCanvas* ACanvas) override;
};

class TcxPCGoDialog : public TcxCustomPopupWindow {
public:
  explicit TcxPCGoDialog(TcxCustomTabControl* ATabControl);
  ~TcxPCGoDialog() override;

  // Before opening: the tab to preselect; after a choice: the chosen tab;
  // -1 for none.
  int TabIndex = -1;
  void SetSorted(bool Value);
  void FillList();
  void Popup();
  void CalculatePopupSize() override;
  TcxPCGoDialogListBox* GetListBox() const { return FListBox; }
  std::unique_ptr<TcxContainerViewInfo> CreateViewInfo() override;

protected:
  void Resize() override;
  String ClassName() const override { return "TcxPCGoDialog"; }

private:
  void ClearEntries();
  void Layout();
  void Chosen(int Index);
  int SelectableTabCount();
  TcxCustomTabControl* FTabControl;
  TcxPCGoDialogListBox* FListBox;
  bool FConstructed = false;
};
