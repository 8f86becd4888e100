// Tab painters: every measurement, navigator hit test and drawing of a tab
// control goes through one painter, chosen by a style id or by the control's
// look-and-feel through the painter factory. Each drawing step frees what it
// creates and restores the clip it changed before it returns.
#pragma once

#include "cxPC.h"

#include <memory>
#include <vector>

class TcxPCCustomPainter;

// A painter class: its class-level answers and how to make one.
struct TcxPCPainterClass {
  const char* Name;
  TcxPCStyleID StyleID;
  bool (*MatchesLookAndFeel)(TcxLookAndFeel* LookAndFeel);
  bool (*IsDefaultForLookAndFeel)(TcxLookAndFeel* LookAndFeel);
  std::unique_ptr<TcxPCCustomPainter> (*Create)(TcxCustomTabControl* AControl);
};

// What painters read of their control, without side effects.
class TcxPCPainterParentInfo : public TObject {
public:
  explicit TcxPCPainterParentInfo(TcxCustomTabControl* AControl) : FControl(AControl) {}
  TcxCanvas* Canvas() const { return FControl->GetcxCanvas(); }
  TColor Color() const { return FControl->GetColor(); }
  TColor FontColor() const { return FControl->GetFont()->GetColor(); }
  int Width() const { return FControl->GetWidth(); }
  int Height() const { return FControl->GetHeight(); }
  bool HideTabs() const { return FControl->GetHideTabs(); }
  int ImageBorder() const { return FControl->GetImageBorder(); }
  bool MultiLine() const { return FControl->GetMultiLine(); }
  bool Rotate() const { return FControl->GetRotate(); }
  bool ShowFrame() const { return FControl->GetShowFrame(); }
  int TabHeight() const { return FControl->GetTabHeight(); }
  int TabWidth() const { return FControl->GetTabWidth(); }
  TcxTabPosition TabPosition() const { return FControl->GetTabPosition(); }
  TcxPCNavigatorPosition NavigatorPosition() const { return FControl->GetNavigatorPosition(); }
  TcxPCNavigatorButtons NavigatorButtons() const { return FControl->NavigatorButtons; }
  TcxPCNavigatorButtonState NavigatorButtonState(TcxPCNavigatorButton Button) const {
    return FControl->NavigatorButtonStates[Button];
  }
  int SelectedVisibleIndex() const { return FControl->SelectedVisibleIndex; }
  int LineCount() const { return FControl->LineCount; }
  int NearLineCount() const { return FControl->NearLineCount; }
  TRect NearTabsArea() const { return FControl->NearTabsArea; }
  TRect FarTabsArea() const { return FControl->FarTabsArea; }
  TcxTab* VisibleTabs(int VisibleIndex) const { return FControl->GetTabs()->GetVisibleTab(VisibleIndex); }
  TColor HotTrackColor() const;

private:
  TcxCustomTabControl* FControl;
};

class TcxPCCustomPainter : public TObject {
public:
  explicit TcxPCCustomPainter(TcxCustomTabControl* AControl);
  ~TcxPCCustomPainter() override;
  TcxPCCustomPainter(const TcxPCCustomPainter&) = delete;
  TcxPCCustomPainter& operator=(const TcxPCCustomPainter&) = delete;

  virtual const TcxPCPainterClass& GetClass() const = 0;
  virtual int CalculateTabNormalHeight() = 0;
  virtual int CalculateTabNormalWidth(TcxTab* Tab) = 0;
  virtual void CorrectTabRect(int VisibleIndex, TRect& Deltas);
  virtual void DrawTabImageAndText(TColor BackgroundColor);
  virtual void GetDisplayRect(TRect& R) = 0;
  virtual void GetFrameRect(TRect& R) = 0;
  virtual TRect GetGoDialogButtonRect() = 0;
  virtual TPoint GetTabMinVisiblePart() = 0;
  virtual int GetMinTabWidth() = 0;
  virtual void GetTabPartAndState(int VisibleIndex, int& Part, int& State) = 0;
  virtual TPoint GetTabSpacing() { return TPoint(0, 0); }
  virtual void CalculateNavigatorLayout(TcxPCNavigatorButtons Buttons, TcxPCNavigatorLayout& Layout) = 0;
  virtual bool IsNativePainting() { return false; }
  virtual bool GetNavigatorButtonAt(int X, int Y, TcxPCNavigatorButton& Button) = 0;
  virtual bool IsPointOverTab(int, int, int) { return true; }
  virtual void Paint();
  virtual void DrawNavigatorButtons() = 0;
  virtual void DrawFrame() = 0;
  virtual void PrepareDrawing() {}
  virtual void DrawTabs() = 0;
  virtual void InvalidateNavigatorButton(TcxPCNavigatorButton, TcxPCNavigatorButtonState) {}
  virtual void RepaintTab(int, TcxTabChangeKind) {}
  // Class answers.
  virtual int GetStandardStyle() const { return 0; }
  virtual bool MovesSelectedLineToPage() const { return true; }
  virtual bool AllowsMultiSelection() const { return false; }
  virtual bool HasPressedTabs() const { return false; }

  TcxPCPainterParentInfo* GetParentInfo() const { return FParentInfo.get(); }
  TcxCustomTabControl* GetControl() const { return FControl; }
  int ClipStackDepth() const { return static_cast<int>(FClipStack.size()); }

  // Shared services.
  void SaveClipRgn();
  void RestoreClipRgn();
  bool SetClipRect(const TRect& R, bool Intersect);
  void DrawPolyline(const std::vector<TPoint>& Points, TColor Color);
  void InvalidateRect(const TRect& R);
  void InvalidateTabsArea(int VisibleIndex);
  void InvalidateTab(int VisibleIndex);
  bool IsOwnerDrawn();
  bool DoCustomDraw(int VisibleIndex);
  void DoDrawTabEx(int VisibleIndex, TFont* Font);
  void PrepareTabImageAndText(int VisibleIndex, const TRect& ImageRect, const String& Text,
                              const TRect& TextRect);
  SIZE GetImageSize();
  SIZE GetDrawnImageSize();
  TColor GetTabTextColor();
  TColor GetHighlightedTextColor(int VisibleIndex);
  TBitmap* GetCaptionBitmap(int VisibleIndex);
  void CreateCaptionBitmap(int VisibleIndex);
  void PrepareBitmap(TBitmap* Bitmap, const SIZE& Size, bool Transparent, TColor Color);

protected:
  TcxCanvas* Canvas() const { return FParentInfo->Canvas(); }
  TcxTab* VisibleTab(int VisibleIndex) const { return FParentInfo->VisibleTabs(VisibleIndex); }
  TcxTabPosition TabPosition() const { return FParentInfo->TabPosition(); }
  bool IsTopOrBottom() const { return TabPosition() == tpTop || TabPosition() == tpBottom; }
  TRect ClientRect() const { return TRect(0, 0, FParentInfo->Width(), FParentInfo->Height()); }

  int FPreparedTab = -1;
  TRect FImageRect;
  TRect FTextRect;
  String FPreparedText;

private:
  void DrawTextInto(TBitmap* Bitmap, const TRect& R, bool Enabled, TColor BackgroundColor);
  void DrawPlainCaption(TColor BackgroundColor);
  void DrawRotatedCaption(TColor BackgroundColor);
  std::unique_ptr<TcxPCPainterParentInfo> FParentInfo;
  TcxCustomTabControl* FControl;
  std::vector<HRGN> FClipStack;
};

// Turns a 32-bit bitmap: 1 a quarter counter-clockwise, 2 a quarter
// clockwise, 3 a half turn; anything else leaves it.
void RotateTabBitmap(TBitmap* Bitmap, int Kind);

// Keeps the painter classes by style id and picks one for a look-and-feel.
class TcxPCPaintersFactory : public TObject {
public:
  void RegisterPainterClass(const TcxPCPainterClass* Class);
  const TcxPCPainterClass* GetPainterClass(TcxPCStyleID StyleID) const;
  std::unique_ptr<TcxPCCustomPainter> GetPainterInstance(const TcxPCPainterClass* Class,
                                                         TcxCustomTabControl* AControl) const;
  void ReleasePainter(std::unique_ptr<TcxPCCustomPainter>& Painter) const { Painter.reset(); }
  TcxPCStyleID GetDefaultStyleID(TcxLookAndFeel* LookAndFeel) const;
  TcxPCStyleID GetLookAndFeelStyleID(TcxLookAndFeel* LookAndFeel) const;
  int Count() const { return static_cast<int>(FClasses.size()); }

private:
  [[noreturn]] void Error(const String& MethodName, UINT TextId) const;
  std::vector<const TcxPCPainterClass*> FClasses;
};

// The one factory, with the four painters registered.
TcxPCPaintersFactory* PaintersFactory();

// The colour of hot text and navigator arrows, chosen once by the system's
// version.
TColor HotTrackColor();
// The flat painter's light face: each channel of the face colour raised by
// 20, a channel of 236 or more becoming 255.
TColor LightFaceColor(TColor Face);
TColor LightFaceColor();

extern const TcxPCPainterClass TabsPainterClass;
extern const TcxPCPainterClass ButtonsPainterClass;
extern const TcxPCPainterClass FlatButtonsPainterClass;
extern const TcxPCPainterClass FlatPainterClass;

// The base of the concrete painters: metrics by shape family, the
// navigator, image and caption placement, the page frame.
class TcxPCStandardPainter : public TcxPCCustomPainter {
public:
  using TcxPCCustomPainter::TcxPCCustomPainter;
  struct TNavigatorButtonInfo {
    TcxPCNavigatorButton Button;
    TRect Rect;
  };

  int CalculateTabNormalHeight() override;
  int CalculateTabNormalWidth(TcxTab* Tab) override;
  void GetDisplayRect(TRect& R) override { GetFrameRect(R); }
  void GetFrameRect(TRect& R) override;
  TRect GetGoDialogButtonRect() override;
  TPoint GetTabMinVisiblePart() override { return TPoint(4, 4); }
  int GetMinTabWidth() override;
  void GetTabPartAndState(int, int& Part, int& State) override { Part = State = 0; }
  TPoint GetTabSpacing() override;
  void CalculateNavigatorLayout(TcxPCNavigatorButtons Buttons, TcxPCNavigatorLayout& Layout) override;
  bool GetNavigatorButtonAt(int X, int Y, TcxPCNavigatorButton& Button) override;
  void Paint() override;
  void DrawNavigatorButtons() override;
  void DrawFrame() override;
  void DrawTabs() override;
  void InvalidateNavigatorButton(TcxPCNavigatorButton Button, TcxPCNavigatorButtonState) override;
  void RepaintTab(int VisibleIndex, TcxTabChangeKind Kind) override;
  bool MovesSelectedLineToPage() const override { return GetStandardStyle() == 0; }
  bool AllowsMultiSelection() const override { return GetStandardStyle() != 0; }
  bool HasPressedTabs() const override { return GetStandardStyle() != 0; }

  virtual void DrawTab(int VisibleIndex);
  virtual void LayoutNavigatorButtons(TcxPCNavigatorButtons Buttons);
  virtual void CalculateNavigatorRect(TcxPCNavigatorButtons Buttons);
  virtual int GetNavigatorLength(TcxPCNavigatorButtons Buttons);
  virtual int GetNavigatorButtonThickness() { return 20; }
  virtual int GetNavigatorButtonLength(TcxPCNavigatorButton Button);
  virtual int GetMinTabHeight();
  virtual int GetMinTabWidthBase() { return 42; }
  virtual void GetImageMargins(int VisibleIndex, TRect& R);
  virtual void GetTextMargins(int VisibleIndex, TRect& R);
  virtual int GetImageTextGap() { return 6; }
  virtual void GetAlongMargins(int VisibleIndex, TPoint& P);
  virtual TColor GetTabColor(int VisibleIndex) = 0;
  virtual void GetTabClipRect(int VisibleIndex, TRect& R, bool& Intersect);
  virtual void GetTruncatedAlongMargins(int VisibleIndex, TPoint& P);
  virtual int GetTextHeightWithMargins();
  virtual bool IsTabSelected(int VisibleIndex);
  virtual void DrawNavigatorButton(TcxPCNavigatorButton Button, const TRect& R);
  virtual void DrawTabShape(int VisibleIndex) = 0;
  virtual void PrepareNativeTab(int) {}
  virtual std::vector<TcxPCNavigatorButton> BuildNavigatorButtonList(TcxPCNavigatorButtons Buttons);

  void CalculateTabImageAndTextRects(int VisibleIndex);
  void DrawButtonFrame(const TRect& R, bool Pressed, bool TwoLine);
  void DrawArrow(int Direction, TPoint Position, TColor Color, bool Enabled, int Size);
  void DrawTabFocusRect(int VisibleIndex, const TRect& R);
  void LayoutButtons(TcxPCNavigatorButtons Buttons, TPoint Offset, int Spacing);
  const std::vector<TNavigatorButtonInfo>& GetNavigatorButtonInfos() const { return FNavigatorButtonInfos; }
  TRect GetNavigatorRect() const { return FNavigatorRect; }

protected:
  bool IsNavigatorAtEnd() const;
  bool HasLinesAfterPage() const;
  bool HasLinesBeforePage() const;
  int ArrowDirection(TcxPCNavigatorButton Button) const;
  void DrawStandardFrame(TRect R);
  void FitCaption(const String& Caption, int Width, String& Text, String& Display);

  std::vector<TNavigatorButtonInfo> FNavigatorButtonInfos;
  TRect FNavigatorRect;
};

// Classic notebook tabs, or the system's visual style when the
// look-and-feel asks for it.
class TcxPCTabsPainter : public TcxPCStandardPainter {
public:
  using TcxPCStandardPainter::TcxPCStandardPainter;
  const TcxPCPainterClass& GetClass() const override { return TabsPainterClass; }
  void CorrectTabRect(int VisibleIndex, TRect& Deltas) override;
  void GetDisplayRect(TRect& R) override;
  void GetFrameRect(TRect& R) override;
  void GetTabPartAndState(int VisibleIndex, int& Part, int& State) override;
  void CalculateNavigatorLayout(TcxPCNavigatorButtons Buttons, TcxPCNavigatorLayout& Layout) override;
  bool IsNativePainting() override;
  void DrawFrame() override;
  void DrawTabs() override;
  void RepaintTab(int VisibleIndex, TcxTabChangeKind Kind) override;
  int GetNavigatorButtonThickness() override;
  int GetNavigatorButtonLength(TcxPCNavigatorButton Button) override;
  TColor GetTabColor(int VisibleIndex) override;
  void GetTabClipRect(int VisibleIndex, TRect& R, bool& Intersect) override;
  int GetTextHeightWithMargins() override { return TcxPCStandardPainter::GetTextHeightWithMargins() - 3; }
  void DrawNavigatorButton(TcxPCNavigatorButton Button, const TRect& R) override;
  void DrawTabShape(int VisibleIndex) override;
  void PrepareNativeTab(int VisibleIndex) override;

private:
  TRect NativeTabRect(int VisibleIndex);
  void DrawClassicTabShape(int VisibleIndex);
  void DrawSelectedJoint(const TRect& R, TcxTabPosition Side);
};

// Tabs drawn as push buttons.
class TcxPCButtonedPainter : public TcxPCStandardPainter {
public:
  using TcxPCStandardPainter::TcxPCStandardPainter;
  void GetFrameRect(TRect& R) override;
  TColor GetTabColor(int VisibleIndex) override;
  bool IsTabSelected(int VisibleIndex) override;
  void DrawFrame() override;
};

class TcxPCButtonsPainter : public TcxPCButtonedPainter {
public:
  using TcxPCButtonedPainter::TcxPCButtonedPainter;
  const TcxPCPainterClass& GetClass() const override { return ButtonsPainterClass; }
  int GetStandardStyle() const override { return 1; }
  void DrawTabShape(int VisibleIndex) override;
};

class TcxPCFlatButtonsPainter : public TcxPCButtonedPainter {
public:
  using TcxPCButtonedPainter::TcxPCButtonedPainter;
  const TcxPCPainterClass& GetClass() const override { return FlatButtonsPainterClass; }
  int GetStandardStyle() const override { return 2; }
  void DrawTab(int VisibleIndex) override;
  void DrawTabShape(int VisibleIndex) override;

private:
  bool SeparatorDue(int VisibleIndex);
  void DrawSeparator(int VisibleIndex);
};

// Flat tabs on light bands.
class TcxPCFlatPainter : public TcxPCStandardPainter {
public:
  using TcxPCStandardPainter::TcxPCStandardPainter;
  const TcxPCPainterClass& GetClass() const override { return FlatPainterClass; }
  int CalculateTabNormalHeight() override;
  int CalculateTabNormalWidth(TcxTab* Tab) override;
  void CorrectTabRect(int VisibleIndex, TRect& Deltas) override;
  void GetFrameRect(TRect& R) override;
  int GetMinTabWidth() override;
  TPoint GetTabSpacing() override;
  void CalculateNavigatorLayout(TcxPCNavigatorButtons Buttons, TcxPCNavigatorLayout& Layout) override;
  void DrawFrame() override;
  void DrawTabs() override;
  void RepaintTab(int VisibleIndex, TcxTabChangeKind Kind) override;
  void CalculateNavigatorRect(TcxPCNavigatorButtons Buttons) override;
  void LayoutNavigatorButtons(TcxPCNavigatorButtons Buttons) override;
  int GetNavigatorLength(TcxPCNavigatorButtons Buttons) override;
  int GetNavigatorButtonThickness() override { return 13; }
  int GetNavigatorButtonLength(TcxPCNavigatorButton) override { return 13; }
  int GetMinTabHeight() override { return 17; }
  void GetImageMargins(int, TRect& R) override { R = TRect(0, 0, 0, 0); }
  void GetTextMargins(int VisibleIndex, TRect& R) override;
  void GetAlongMargins(int VisibleIndex, TPoint& P) override;
  void GetTruncatedAlongMargins(int VisibleIndex, TPoint& P) override { GetAlongMargins(VisibleIndex, P); }
  int GetTextHeightWithMargins() override { return TcxPCStandardPainter::GetTextHeightWithMargins() - 4; }
  TColor GetTabColor(int VisibleIndex) override;
  void DrawNavigatorButton(TcxPCNavigatorButton Button, const TRect& R) override;
  void DrawTabShape(int VisibleIndex) override;

private:
  void DrawLine(const TcxPCLineIndexBounds& Line);
  void DrawDivider(int VisibleIndex);
  TRect DrawBand(int FirstVisibleIndex);
};
