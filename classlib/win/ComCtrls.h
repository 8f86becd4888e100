// Wrappers of the common controls: status bar, page control, progress bar,
// hot-key box, tree view.
#pragma once

#include "ImgList.h"
#include "ShortCuts.h"
#include "StdCtrls.h"

#include <memory>
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

// ---- Tree view ----

class TCustomTreeView;
class TTreeNodes;

// A node of a tree view. The node keeps its own data; its item in the
// system's tree window mirrors it while the window exists.
class TTreeNode {
public:
  TTreeNodes* GetOwner() const { return FOwner; }
  TCustomTreeView* GetTreeView() const;
  HTREEITEM GetItemId() const { return FItemId; }
  TTreeNode* GetParent() const { return FParent; }
  const String& GetText() const { return FText; }
  void SetText(const String& value);
  void* Data = nullptr;
  int GetImageIndex() const { return FImageIndex; }
  void SetImageIndex(int value);
  int GetSelectedIndex() const { return FSelectedIndex; }
  void SetSelectedIndex(int value);
  // An index into the state images, -1 for none.
  int GetStateIndex() const { return FStateIndex; }
  void SetStateIndex(int value);

  int GetCount() const { return static_cast<int>(FChildren.size()); }
  TTreeNode* GetItem(int index) const { return FChildren.at(static_cast<size_t>(index)); }
  bool HasChildren() const { return !FChildren.empty(); }
  // The position among its siblings, and the depth (0 at the top level).
  int GetIndex() const;
  int GetLevel() const;
  TTreeNode* getFirstChild() const { return FChildren.empty() ? nullptr : FChildren.front(); }
  TTreeNode* getNextSibling() const;
  TTreeNode* getPrevSibling() const;
  // The next node in depth-first order, nullptr after the last.
  TTreeNode* GetNext() const;

  bool GetExpanded() const { return FExpanded; }
  void SetExpanded(bool value);
  void Expand(bool Recurse);
  void Collapse(bool Recurse);
  bool GetSelected() const;
  void SetSelected(bool value);
  bool GetFocused() const;
  void SetFocused(bool value);
  void MakeVisible();
  // The node's rectangle in the tree's client coordinates, or only its
  // label's; empty while the node does not show.
  TRect DisplayRect(bool TextOnly) const;

  void Delete();
  void DeleteChildren();

private:
  friend class TTreeNodes;
  friend class TCustomTreeView;
  explicit TTreeNode(TTreeNodes* AOwner) : FOwner(AOwner) {}
  void UpdateItem(UINT mask);

  TTreeNodes* FOwner;
  TTreeNode* FParent = nullptr;
  std::vector<TTreeNode*> FChildren;
  HTREEITEM FItemId = nullptr;
  String FText;
  int FImageIndex = -1;
  int FSelectedIndex = -1;
  int FStateIndex = -1;
  bool FExpanded = false;
};

// The nodes of a tree view. Nodes belong to it and are freed by Delete and
// Clear; Item counts all nodes in depth-first order.
class TTreeNodes {
public:
  explicit TTreeNodes(TCustomTreeView* AOwner) : FOwner(AOwner) {}
  ~TTreeNodes();
  TTreeNodes(const TTreeNodes&) = delete;
  TTreeNodes& operator=(const TTreeNodes&) = delete;
  TCustomTreeView* GetOwner() const { return FOwner; }
  int GetCount() const;
  TTreeNode* GetItem(int index) const;
  TTreeNode* GetFirstNode() const { return FRoots.empty() ? nullptr : FRoots.front(); }

  // After Sibling's last sibling (at the top level without one).
  TTreeNode* Add(TTreeNode* Sibling, const String& S) { return AddObject(Sibling, S, nullptr); }
  TTreeNode* AddObject(TTreeNode* Sibling, const String& S, void* Ptr);
  TTreeNode* AddFirst(TTreeNode* Sibling, const String& S);
  // Before Sibling (at the end of the top level without one).
  TTreeNode* Insert(TTreeNode* Sibling, const String& S);
  // The last child of Parent (a top-level node without one).
  TTreeNode* AddChild(TTreeNode* Parent, const String& S) { return AddChildObject(Parent, S, nullptr); }
  TTreeNode* AddChildObject(TTreeNode* Parent, const String& S, void* Ptr);
  TTreeNode* AddChildFirst(TTreeNode* Parent, const String& S);
  void Delete(TTreeNode* Node);
  void Clear();
  // Copies Source's nodes: texts, images, data and expansion.
  void Assign(const TTreeNodes* Source);

private:
  friend class TTreeNode;
  friend class TCustomTreeView;
  std::vector<TTreeNode*>& SiblingsOf(TTreeNode* Parent) { return Parent ? Parent->FChildren : FRoots; }
  TTreeNode* InternalAdd(TTreeNode* Parent, size_t Position, const String& S, void* Ptr);
  void CreateItem(TTreeNode* Node);
  void CreateItems(TTreeNode* Parent);

  TCustomTreeView* FOwner;
  std::vector<TTreeNode*> FRoots;
};

// Scoped: other libraries' unscoped enumerations take these short names.
enum class TSortType { stNone, stData, stText, stBoth };
enum THitTest { htAbove, htBelow, htNowhere, htOnItem, htOnButton, htOnIcon, htOnIndent, htOnLabel,
                htOnRight, htOnStateIcon, htToLeft, htToRight };
using THitTests = TSet<THitTest>;

using TTVChangingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowChange)>;
using TTVChangedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVExpandingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowExpansion)>;
using TTVCollapsingEvent = std::function<void(TObject* Sender, TTreeNode* Node, bool& AllowCollapse)>;
using TTVExpandedEvent = std::function<void(TObject* Sender, TTreeNode* Node)>;
using TTVCompareEvent =
    std::function<void(TObject* Sender, TTreeNode* Node1, TTreeNode* Node2, int Data, int& Compare)>;

// The system's tree window over TTreeNodes: images and state images, sorting
// by text, data or OnCompare, expansion, selection and hit tests.
class TCustomTreeView : public TWinControl {
public:
  explicit TCustomTreeView(TComponent* AOwner);
  ~TCustomTreeView() override;
  TTreeNodes* GetItems() const { return FTreeNodes.get(); }
  TCustomImageList* GetImages() const { return FImages; }
  void SetImages(TCustomImageList* value);
  TCustomImageList* GetStateImages() const { return FStateImages; }
  void SetStateImages(TCustomImageList* value);
  int GetIndent();
  void SetIndent(int value);
  bool GetShowButtons() const { return FShowButtons; }
  void SetShowButtons(bool value);
  bool GetShowLines() const { return FShowLines; }
  void SetShowLines(bool value);
  bool GetShowRoot() const { return FShowRoot; }
  void SetShowRoot(bool value);
  bool GetReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool value);
  TSortType GetSortType() const { return FSortType; }
  // A sorting type sorts the nodes at once and keeps them sorted.
  void SetSortType(TSortType value);
  TTreeNode* GetSelected();
  void SetSelected(TTreeNode* value);

  TTreeNode* GetNodeAt(int X, int Y);
  THitTests GetHitTestInfoAt(int X, int Y);
  void FullExpand();
  void FullCollapse();
  // Sorts every level by OnCompare, else by the sort type's key.
  void AlphaSort();
  // The node of a window item, nullptr for none.
  TTreeNode* NodeFromItem(HTREEITEM Item) const;

  TTVChangedEvent OnChange;
  TTVChangingEvent OnChanging;
  TTVExpandingEvent OnExpanding;
  TTVExpandedEvent OnExpanded;
  TTVCollapsingEvent OnCollapsing;
  TTVExpandedEvent OnCollapsed;
  TTVCompareEvent OnCompare;
  TTVExpandedEvent OnGetImageIndex;
  TTVExpandedEvent OnGetSelectedIndex;
  TTVExpandedEvent OnDeletion;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWndFinished() override;
  void DestroyWnd() override;
  void WndProc(TMessage& Message) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TCustomTreeView"; }

  virtual bool CanChange(TTreeNode* Node);
  virtual void Change(TTreeNode* Node);
  virtual bool CanExpand(TTreeNode* Node);
  virtual void Expand(TTreeNode* Node);
  virtual bool CanCollapse(TTreeNode* Node);
  virtual void Collapse(TTreeNode* Node);
  // A node about to be freed.
  virtual void Delete(TTreeNode* Node);
  // A node's text or images changed.
  virtual void NodeChanged(TTreeNode*) {}
  virtual void ImagesChanged() {}
  virtual void GetImageIndex(TTreeNode* Node);
  virtual void GetSelectedIndex(TTreeNode* Node);
  // Below zero when Node1 goes first.
  virtual int CompareNodes(TTreeNode* Node1, TTreeNode* Node2);

private:
  friend class TTreeNode;
  friend class TTreeNodes;
  void SetImageList(TCustomImageList*& Field, TCustomImageList* value, int Which);
  void SortChildren(TTreeNode* Parent);
  void KeepSorted(TTreeNode* Parent);
  void UpdateStyle(DWORD Bit, bool On);

  std::unique_ptr<TTreeNodes> FTreeNodes;
  TCustomImageList* FImages = nullptr;
  TCustomImageList* FStateImages = nullptr;
  TChangeLink FImageChangeLink;
  TChangeLink FStateChangeLink;
  int FIndent = -1;
  bool FShowButtons = true;
  bool FShowLines = true;
  bool FShowRoot = true;
  bool FReadOnly = false;
  TSortType FSortType = TSortType::stNone;
  // A window being made, refilled or emptied by the class: its
  // notifications are not the user's.
  bool FFilling = false;
  TTreeNode* FSavedSelected = nullptr;
};
