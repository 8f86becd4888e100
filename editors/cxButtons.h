// The push button of the dialogs: the class library's button drawn by the
// look-and-feel painters, with a glyph strip of one image per state, face
// colours per state, hot tracking and two drop-down kinds that open a popup
// menu. The glyph images of all buttons live in shared image lists, one per
// image size.
#pragma once

#include "cxControls.h"
#include "cxLookAndFeels.h"

#include "Buttons.h"
#include "ImgList.h"
#include "Menus.h"

#include <memory>
#include <vector>

enum TcxButtonKind { cxbkStandard, cxbkDropDown, cxbkDropDownButton };
using TcxButtonAssignedColors = TSet<TcxButtonState>;

class TcxCustomButton;

using TcxButtonGetDrawParamsEvent =
    std::function<void(TcxCustomButton* Sender, TcxButtonState AState, TColor& AColor, TFont* AFont)>;

class TcxButtonColors : public TPersistent {
public:
  explicit TcxButtonColors(TcxCustomButton* AButton);
  void Assign(const TPersistent* Source) override;
  TColor GetColor(TcxButtonState AState) const { return FColors[AState]; }
  // clNone and clDefault give the state back its default colour.
  void SetColor(TcxButtonState AState, TColor Value);
  TcxButtonAssignedColors GetAssignedColors() const { return FAssignedColors; }
  // Edits the set only while the button is designed, which never happens
  // here.
  void SetAssignedColors(TcxButtonAssignedColors) {}

protected:
  String ClassName() const override { return "TcxButtonColors"; }

private:
  TcxCustomButton* FButton;
  TcxButtonAssignedColors FAssignedColors;
  TColor FColors[cxbsDisabled + 1];
};

// The images of one size; a slot freed by one glyph is reused by the next.
class TcxGlyphList : public TImageList {
public:
  TcxGlyphList(int AWidth, int AHeight);
  // Into the first free slot; the index of that slot.
  int AddMasked(TBitmap* AImage, TColor AMaskColor);
  void Delete(int AIndex);
  int GetImageCount() const { return FCount; }

private:
  std::vector<bool> FUsed;
  int FCount = 0;
};

// One list per image size, shared by every glyph of the process.
class TcxGlyphCache : public TObject {
public:
  TcxGlyphCache();
  ~TcxGlyphCache() override;
  TcxGlyphCache(const TcxGlyphCache&) = delete;
  TcxGlyphCache& operator=(const TcxGlyphCache&) = delete;
  TcxGlyphList* GetList(int AWidth, int AHeight);
  // Frees the list once it holds no image.
  void ReturnList(TcxGlyphList* AList);
  int GetListCount() const { return static_cast<int>(FLists.size()); }

private:
  std::vector<std::unique_ptr<TcxGlyphList>> FLists;
};

// The process's cache, nil while no glyph exists.
TcxGlyphCache* GlyphCache();

class TcxButtonGlyph : public TObject {
public:
  TcxButtonGlyph();
  ~TcxButtonGlyph() override;
  TcxButtonGlyph(const TcxButtonGlyph&) = delete;
  TcxButtonGlyph& operator=(const TcxButtonGlyph&) = delete;

  TBitmap* GetGlyph() const { return FOriginal.get(); }
  void SetGlyph(const TBitmap* Value);
  int GetNumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(int Value);
  TcxGlyphList* GetGlyphList() const { return FGlyphList; }
  // The list index of the state's image, built on first use; -1 for an
  // empty strip.
  int StateImageIndex(TcxButtonState AState);
  // Releases the images and hands the list back.
  void Invalidate();
  void CalcLayout(const TRect& AClient, const TPoint& AOffset, const String& ACaption, TButtonLayout ALayout,
                  int AMargin, int ASpacing, TPoint& AGlyphPos, TRect& ATextBounds, int ABiDiFlags,
                  TCanvas* ACanvas);
  void DrawContent(TcxCanvas* ACanvas, const TRect& AClient, const TPoint& AOffset, const String& ACaption,
                   TButtonLayout ALayout, int AMargin, int ASpacing, TcxButtonState AState, int ABiDiFlags);
  TNotifyEvent OnChange;

private:
  enum TImageKind { ikUp, ikDisabled, ikDown, ikExclusive };
  SIZE ImageSize() const;
  void BuildDisabledImage(TBitmap* AImage, int AImagePos);
  void DrawStateGlyph(TcxCanvas* ACanvas, const TPoint& APos, TcxButtonState AState);
  void GlyphChanged(TObject* Sender);
  std::unique_ptr<TBitmap> FOriginal;
  TcxGlyphList* FGlyphList = nullptr;
  int FIndexes[ikExclusive + 1] = {-1, -1, -1, -1};
  TColor FTransparentColor = clOlive;
  int FNumGlyphs = 1;
};

class TcxCustomButton : public TButton, public IcxMouseTrackingCaller {
public:
  explicit TcxCustomButton(TComponent* AOwner);
  ~TcxCustomButton() override;

  TcxButtonColors* GetColors() const { return FColors.get(); }
  void SetColors(const TcxButtonColors* Value) { FColors->Assign(Value); }
  TPopupMenu* GetDropDownMenu() const { return FDropDownMenu; }
  void SetDropDownMenu(TPopupMenu* Value);
  TBitmap* GetGlyph() const { return FGlyph->GetGlyph(); }
  void SetGlyph(const TBitmap* Value);
  TcxButtonKind GetKind() const { return FKind; }
  void SetKind(TcxButtonKind Value);
  TButtonLayout GetLayout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(const TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }
  int GetMargin() const { return FMargin; }
  void SetMargin(int Value);
  int GetNumGlyphs() const { return FGlyph->GetNumGlyphs(); }
  void SetNumGlyphs(int Value);
  int GetSpacing() const { return FSpacing; }
  void SetSpacing(int Value);
  bool GetUseSystemPaint() const { return FUseSystemPaint; }
  void SetUseSystemPaint(bool Value);
  TcxButtonGlyph* GetButtonGlyph() const { return FGlyph.get(); }
  TcxButtonGetDrawParamsEvent OnGetDrawParams;

  virtual TcxCustomLookAndFeelPainterClass GetPainterClass() const;
  virtual bool UsesSystemPaint() const;
  void DropDown();
  bool IsHot() const { return FIsHot; }
  bool IsMenuVisible() const { return FIsMenuVisible; }

  void Click() override;
  void WndProc(TMessage& Message) override;
  void MouseLeave() override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void SetButtonStyle(bool ADefault) override;
  void DrawItem(const DRAWITEMSTRUCT& DrawItemStruct) override;
  void ActionChange(TBasicAction* Sender, bool CheckDefaults) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual void PaintButtonFace();
  String ClassName() const override { return "TcxCustomButton"; }

private:
  TcxButtonState CurrentState() const;
  bool HotTrackingApplies() const;
  bool IsCursorOverButton() const;
  bool InArrowPart(int X);
  void Refresh();
  void DropDownRequest();
  void CloseUp();
  int EstimateMenuHeight() const;
  void WMLButtonDown(TMessage& Message);
  bool KeyDropsDown(const TMessage& Message) const;
  void MouseEnter();
  void MouseMoved(const TPoint& P);
  void CaptureChanged();

  std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
  bool FIsPressed = false;
  bool FIsFocused = false;
  std::unique_ptr<TCanvas> FControlCanvas;
  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxButtonColors> FColors;
  bool FIsDroppingDown = false;
  std::unique_ptr<TdxThemeChangedNotificator> FThemeChangedNotificator;
  TPopupMenu* FDropDownMenu = nullptr;
  bool FIsDefault = false;
  bool FIgnoreNextClick = false;
  TcxButtonKind FKind = cxbkStandard;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  bool FUseSystemPaint = true;
  std::unique_ptr<TcxButtonGlyph> FGlyph;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  bool FIsMenuVisible = false;
  bool FIsHot = false;
  int FSpacing = 4;
};

class TcxButton : public TcxCustomButton {
public:
  using TcxCustomButton::TcxCustomButton;

protected:
  String ClassName() const override { return "TcxButton"; }
};

// The private messages of the drop-down kinds.
constexpr UINT CM_DROPDOWNPOPUPMENU = 0x812C;
constexpr UINT CM_CLOSEUPPOPUPMENU = 0x812D;
