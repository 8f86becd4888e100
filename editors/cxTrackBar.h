// The track bar: an editor whose integer value between a minimum and a
// maximum is chosen by dragging a thumb along a track, by clicks beside the
// thumb or by the keys; with tick marks or numbers on either side, a
// highlighted selection (Shift held while moving), and a rectangular,
// pointed, themed or program-drawn thumb that shows hot and pressed states.
// Drawn into a bitmap of its own and copied in one block.
#pragma once

#include "cxExtEditUtils.h"
#include "cxTextEdit.h"

#include <cstdint>
#include <functional>
#include <memory>

enum TcxTrackBarTextOrientation { tbtoHorizontal, tbtoVertical };
enum TcxTrackBarTickMarks { cxtmBoth, cxtmTopLeft, cxtmBottomRight };
enum TcxTrackBarTickType { tbttTicks, tbttNumbers, tbttValueNumber };
enum TcxTrackBarThumbType { cxttNone, cxttRegular, cxttCustom };
enum TcxTrackBarThumbStep { cxtsNormal, cxtsJump };

using TcxGetThumbRectEvent = std::function<void(TObject* Sender, TRect& ARect)>;
using TcxDrawThumbEvent = std::function<void(TObject* Sender, TcxCanvas* ACanvas, const TRect& ARect)>;

// The mouse-state bits of the thumb.
constexpr int tbmsOverControl = 1;
constexpr int tbmsOverThumb = 2;
constexpr int tbmsPressed = 4;

// Theme states of the thumb and track.
constexpr int tbtsNormal = 1;
constexpr int tbtsHot = 2;
constexpr int tbtsPressed = 3;
constexpr int tbtsDisabled = 5;

// The settings a view info draws with, copied from the properties.
struct TcxTrackBarSettings {
  bool AutoSize = true;
  int BorderWidth = 0;
  int Frequency = 1;
  int Min = 0;
  int Max = 10;
  TcxTrackBarOrientation Orientation = tboHorizontal;
  TcxTrackBarTextOrientation TextOrientation = tbtoHorizontal;
  int PageSize = 1;
  int SelectionStart = 0;
  int SelectionEnd = 0;
  TColor SelectionColor = clHighlight;
  bool ShowTicks = true;
  TcxTrackBarThumbType ThumbType = cxttRegular;
  bool ShowTrack = true;
  TColor TickColor = clWindowText;
  TcxTrackBarTickType TickType = tbttTicks;
  TcxTrackBarTickMarks TickMarks = cxtmBottomRight;
  int TickSize = 3;
  TColor TrackColor = clWindow;
  int TrackSize = 5;
  int ThumbHeight = 12;
  int ThumbWidth = 7;
  TColor ThumbColor = clBtnFace;
  TColor ThumbHighlightColor = 0xC0C0C0;
};

class TcxCustomTrackBarViewInfo : public TcxCustomTextEditViewInfo {
public:
  TcxCustomTrackBarViewInfo();
  ~TcxCustomTrackBarViewInfo() override;

  TcxTrackBarSettings Settings;
  int Position = 0;
  int ThumbState = tbtsNormal;
  bool HasSelection = false;
  // The client rectangle, and the same moved to the origin: the bitmap's.
  TRect ClientArea;
  TRect ClientAreaAtOrigin;
  TRect ChannelRect;
  TRect TrackRect;
  TRect ThumbRect;
  TRect SelectionRect;
  int EndMargin = 7;
  // Along the track and across it.
  int ThumbLength = 0;
  int ThumbExtent = 0;
  double Scale = 0;
  bool PointedThumb = false;
  std::function<void(TcxCanvas*, const TRect&)> DrawCustomThumb;

  TcxLookAndFeel* GetLookAndFeel() const { return FLookAndFeel.get(); }
  TcxCanvas* GetBitmapCanvas() const { return FBitmapCanvas.get(); }
  // The value's pixel along the track: the thumb's start for it.
  int ValueToPixel(int64_t AValue) const;

  void Assign(const TcxContainerViewInfo* Source) override;
  void Offset(int DX, int DY) override;
  void InternalPaint(TcxCanvas* ACanvas) override;
  void GetHintText(int, int, String& AText) override { AText.clear(); }
  void PaintText(TcxCanvas*) override {}

  virtual void DrawTrack(TcxCanvas* ACanvas);
  virtual void DrawSelection(TcxCanvas* ACanvas);
  virtual void DrawTicks(TcxCanvas* ACanvas);
  virtual void DrawThumb(TcxCanvas* ACanvas);
  virtual void DrawTrackBarParts(TcxCanvas* ACanvas);

private:
  bool IsThemed() const;
  void DrawTick(TcxCanvas* ACanvas, int64_t AValue);
  void DrawTickLine(TcxCanvas* ACanvas, int APos, int ALength);
  void DrawTickNumber(TcxCanvas* ACanvas, int APos, int64_t AValue);
  void CopyBackground(TcxCanvas* ACanvas);

  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  std::unique_ptr<TBitmap> FBitmap;
  std::unique_ptr<TcxCanvas> FBitmapCanvas;
  HFONT FTickFont = nullptr;
};

class TcxCustomTrackBarViewData : public TcxCustomEditViewData {
public:
  using TcxCustomEditViewData::TcxCustomEditViewData;
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;

  virtual void CalculateTrackBarLayout(TcxCanvas* ACanvas, TcxCustomTrackBarViewInfo* AViewInfo);
  virtual int GetTextFlags() const { return 0; }
  // The room the ticks or numbers need on one side.
  virtual int GetTickMarkExtent(TcxCanvas* ACanvas, TcxCustomTrackBarViewInfo* AViewInfo, bool ATopLeft);
  virtual void ReadTrackBarProperties(TcxCustomTrackBarViewInfo* AViewInfo);
  virtual void CalculateClientArea(TcxCustomTrackBarViewInfo* AViewInfo);
  virtual void CalculateChannel(TcxCanvas* ACanvas, TcxCustomTrackBarViewInfo* AViewInfo);
  virtual void CalculateTrack(TcxCustomTrackBarViewInfo* AViewInfo);
  virtual void CalculateThumbSize(TcxCustomTrackBarViewInfo* AViewInfo);
  virtual void CalculateThumbRect(TcxCustomTrackBarViewInfo* AViewInfo);
  virtual void CalculateSelection(TcxCustomTrackBarViewInfo* AViewInfo);

protected:
  String ClassName() const override { return "TcxCustomTrackBarViewData"; }
};

class TcxCustomTrackBarProperties : public TcxCustomEditProperties {
public:
  explicit TcxCustomTrackBarProperties(TPersistent* AOwner);
  ~TcxCustomTrackBarProperties() override;

  void Assign(const TPersistent* Source) override;

  const TcxTrackBarSettings& GetSettings() const { return FSettings; }
  bool GetAutoSize() const { return FSettings.AutoSize; }
  void SetAutoSize(bool Value) { Store(FSettings.AutoSize, Value); }
  int GetBorderWidth() const { return FSettings.BorderWidth; }
  void SetBorderWidth(int Value) { Store(FSettings.BorderWidth, std::max(Value, 0)); }
  int GetFrequency() const { return FSettings.Frequency; }
  void SetFrequency(int Value) { Store(FSettings.Frequency, std::max(Value, 0)); }
  int GetMin() const { return FSettings.Min; }
  // Raises Max to it when lower.
  void SetMin(int Value);
  int GetMax() const { return FSettings.Max; }
  // A maximum not above the minimum is ignored.
  void SetMax(int Value);
  TcxTrackBarOrientation GetOrientation() const { return FSettings.Orientation; }
  void SetOrientation(TcxTrackBarOrientation Value) { Store(FSettings.Orientation, Value); }
  TcxTrackBarTextOrientation GetTextOrientation() const { return FSettings.TextOrientation; }
  void SetTextOrientation(TcxTrackBarTextOrientation Value) { Store(FSettings.TextOrientation, Value); }
  int GetPageSize() const { return FSettings.PageSize; }
  void SetPageSize(int Value) { Store(FSettings.PageSize, std::max(Value, 1)); }
  int GetSelectionStart() const { return FSettings.SelectionStart; }
  void SetSelectionStart(int Value) { Store(FSettings.SelectionStart, Value); }
  int GetSelectionEnd() const { return FSettings.SelectionEnd; }
  void SetSelectionEnd(int Value) { Store(FSettings.SelectionEnd, Value); }
  // Without a change notification: the change that follows repaints.
  void SetSelectionSilently(int AStart, int AEnd) {
    FSettings.SelectionStart = AStart;
    FSettings.SelectionEnd = AEnd;
  }
  TColor GetSelectionColor() const { return FSettings.SelectionColor; }
  void SetSelectionColor(TColor Value) { Store(FSettings.SelectionColor, Value); }
  bool GetShowTicks() const { return FSettings.ShowTicks; }
  void SetShowTicks(bool Value) { Store(FSettings.ShowTicks, Value); }
  TcxTrackBarThumbType GetThumbType() const { return FSettings.ThumbType; }
  void SetThumbType(TcxTrackBarThumbType Value) { Store(FSettings.ThumbType, Value); }
  bool GetShowTrack() const { return FSettings.ShowTrack; }
  void SetShowTrack(bool Value) { Store(FSettings.ShowTrack, Value); }
  TColor GetTickColor() const { return FSettings.TickColor; }
  void SetTickColor(TColor Value) { Store(FSettings.TickColor, Value); }
  TcxTrackBarTickType GetTickType() const { return FSettings.TickType; }
  void SetTickType(TcxTrackBarTickType Value) { Store(FSettings.TickType, Value); }
  TcxTrackBarTickMarks GetTickMarks() const { return FSettings.TickMarks; }
  void SetTickMarks(TcxTrackBarTickMarks Value) { Store(FSettings.TickMarks, Value); }
  int GetTickSize() const { return FSettings.TickSize; }
  void SetTickSize(int Value) { Store(FSettings.TickSize, std::max(Value, 1)); }
  TColor GetTrackColor() const { return FSettings.TrackColor; }
  void SetTrackColor(TColor Value) { Store(FSettings.TrackColor, Value); }
  int GetTrackSize() const { return FSettings.TrackSize; }
  void SetTrackSize(int Value) { Store(FSettings.TrackSize, Value); }
  int GetThumbHeight() const { return FSettings.ThumbHeight; }
  void SetThumbHeight(int Value) { Store(FSettings.ThumbHeight, Value); }
  int GetThumbWidth() const { return FSettings.ThumbWidth; }
  void SetThumbWidth(int Value) { Store(FSettings.ThumbWidth, Value); }
  TColor GetThumbColor() const { return FSettings.ThumbColor; }
  void SetThumbColor(TColor Value) { Store(FSettings.ThumbColor, Value); }
  TColor GetThumbHighlightColor() const { return FSettings.ThumbHighlightColor; }
  void SetThumbHighlightColor(TColor Value) { Store(FSettings.ThumbHighlightColor, Value); }
  TcxTrackBarThumbStep ThumbStep = cxtsNormal;
  TcxGetThumbRectEvent OnGetThumbRect;
  TcxDrawThumbEvent OnDrawThumb;

  // The mouse-state bits (tbms...), kept across calculations.
  int MouseState = 0;
  // What the last layout calculation found, for hit tests and dragging, in
  // the control's coordinates.
  TRect TrackRect;
  TRect ThumbRect;
  int ThumbLength = 0;
  double Scale = 0;

  // The value kept within Min and Max.
  int ClampPosition(int64_t AValue) const;
  // An edit value as a position: Min for one that is no integer.
  int ValueToPosition(const Variant& AValue) const;
  virtual void ThumbStateChanged() { Changed(); }

  bool CompareEditValues() const override { return true; }
  bool ChangeFiredByInnerEdit() const override { return false; }
  std::unique_ptr<TcxCustomEditViewData> CreateViewDataObject(TcxCustomEditStyle* AStyle,
                                                              bool AIsInplace) override;
  TcxClassRef GetContainerClass() const override;
  std::unique_ptr<TcxCustomEditStyle> CreateStyle(TPersistent* AOwner, bool AIsInternal) const override;
  std::unique_ptr<TcxCustomEditViewInfo> CreateViewInfo() const override;
  void EditValueToDisplayText(const Variant& EditValue, bool AFullText, String& Text) override;
  int GetCapabilities() const override { return 0x45; }
  void EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue, bool AEditFocused) override;

protected:
  String ClassName() const override { return "TcxCustomTrackBarProperties"; }

private:
  template <typename T> void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }

  TcxTrackBarSettings FSettings;
};

class TcxTrackBarProperties : public TcxCustomTrackBarProperties {
public:
  using TcxCustomTrackBarProperties::TcxCustomTrackBarProperties;

protected:
  String ClassName() const override { return "TcxTrackBarProperties"; }
};

class TcxTrackBarStyle : public TcxCustomEditStyle {
public:
  using TcxCustomEditStyle::TcxCustomEditStyle;

protected:
  String ClassName() const override { return "TcxTrackBarStyle"; }
};

class TcxCustomTrackBar : public TcxCustomEdit {
public:
  explicit TcxCustomTrackBar(TComponent* AOwner);

  TcxCustomTrackBarProperties* GetProperties() const {
    return static_cast<TcxCustomTrackBarProperties*>(TcxCustomEdit::GetProperties());
  }
  TcxCustomTrackBarProperties* GetActiveProperties() const {
    return static_cast<TcxCustomTrackBarProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxCustomTrackBarViewInfo* GetViewInfo() const {
    return static_cast<TcxCustomTrackBarViewInfo*>(TcxCustomEdit::GetViewInfo());
  }
  // The edit value as an integer, not clamped.
  int GetPosition() const;
  // Not clamped either: keys and dragging bring it back into range.
  void SetPosition(int Value);
  bool IsSelecting() const { return FSelecting; }

  bool CanFocus() override { return true; }
  bool CanFocusOnClick() override { return true; }
  void GetAutoSizeConstraints(TcxEditSizeProperties& ASizeProperties) override;
  void ApplyPropertiesChange(TcxCustomEditProperties* AProperties) override;
  void SynchronizeDisplayValue() override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;
  void WndProc(TMessage& Message) override;

protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void MouseEnter(TControl* AControl) override;
  void MouseLeave(TControl* AControl) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  String ClassName() const override { return "TcxCustomTrackBar"; }

private:
  // Writes the value; in selection mode the selection runs from the anchor
  // to it first.
  void MoveTo(int AValue, bool ASelect);
  void SetMouseState(int AState);
  bool Horizontal() const { return GetActiveProperties()->GetOrientation() == tboHorizontal; }

  bool FSelecting = false;
  int FSelectionAnchor = 0;
};

class TcxTrackBar : public TcxCustomTrackBar {
public:
  using TcxCustomTrackBar::TcxCustomTrackBar;

protected:
  String ClassName() const override { return "TcxTrackBar"; }
};

void cxTrackBarInitialize();
void cxTrackBarFinalize();
