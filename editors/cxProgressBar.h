// The progress bar: an editor that shows an integer position between a
// minimum and a maximum as a filled bar, solid, in segments, as a gradient
// or with a tiled picture, with an overload zone, a peak marker and the
// percentage or position as text. It draws into an off-screen bitmap that
// it copies in one block, and through the themed progress parts under a
// visual style. A stand-alone bar never takes the focus.
#pragma once

#include "cxTextEdit.h"

enum TcxProgressBarBarStyle {
  cxbsSolid,
  cxbsLEDs,
  cxbsGradient,
  cxbsGradientLEDs,
  cxbsBitmap,
  cxbsBitmapLEDs
};
enum TcxProgressBarBevelOuter { cxbvNone, cxbvLowered, cxbvRaised };
enum TcxProgressBarOrientation { cxorHorizontal, cxorVertical };
enum TcxProgressBarTextStyle { cxtsPercent, cxtsPosition };

// The settings a view info draws with, copied from the properties.
struct TcxProgressBarSettings {
  TColor BeginColor = 0x800000;
  TcxProgressBarBevelOuter BarBevelOuter = cxbvNone;
  TColor EndColor = 0xFFFFFF;
  int Min = 0;
  int Max = 100;
  TcxProgressBarOrientation Orientation = cxorHorizontal;
  bool ShowText = true;
  TcxProgressBarTextStyle ShowTextStyle = cxtsPercent;
  TcxProgressBarOrientation TextOrientation = cxorHorizontal;
  bool SolidTextColor = false;
  TcxProgressBarBarStyle BarStyle = cxbsSolid;
  bool TransparentImage = true;
  int BorderWidth = 0;
  int OverloadValue = 80;
  bool ShowOverload = false;
  TColor OverloadBeginColor = 0x8080FF;
  TColor OverloadEndColor = 0xFF00FF;
  int PeakValue = 0;
  bool ShowPeak = false;
  TColor PeakColor = 0x0000FF;
  int PeakSize = 2;
  bool Transparent = false;
};

class TcxCustomProgressBarViewInfo : public TcxCustomTextEditViewInfo {
public:
  TcxCustomProgressBarViewInfo();
  ~TcxCustomProgressBarViewInfo() override;

  TcxProgressBarSettings Settings;
  int Position = 0;
  // The copy of the foreground picture, flattened onto the background
  // colour when the picture's transparency is asked for.
  std::unique_ptr<TBitmap> ForegroundImage;
  bool OverloadActive = false;
  bool PeakVisible = false;
  bool IsTransparent = false;
  TRect BarRect;
  TRect ProgressRect;
  TRect OverloadRect;
  TRect PeakRect;
  TRect FocusRect;

  int GetBarRange() const;
  int ValueToPixels(int AValue, int ASize) const;
  void InternalPaint(TcxCanvas* ACanvas) override;
  void Offset(int DX, int DY) override;
  void GetHintText(int, int, String& AText) override { AText.clear(); }
  // The text is part of the bar's own drawing.
  void PaintText(TcxCanvas*) override {}
  virtual void PaintProgressBar(TcxCanvas* ACanvas);
};

class TcxCustomProgressBarViewData : public TcxCustomEditViewData {
public:
  using TcxCustomEditViewData::TcxCustomEditViewData;
  void CalculateFixedPartSize(TcxCanvas* ACanvas, bool AIsInplace, SIZE& AFixedSize,
                              TcxCustomEditViewInfo* AViewInfo, SIZE& AMinContentSize) override;
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  virtual void ReadBarProperties(TcxCustomProgressBarViewInfo* AViewInfo);
  virtual int GetTextFlags() const { return 0; }

protected:
  String ClassName() const override { return "TcxCustomProgressBarViewData"; }

private:
  void CalculateRects(TcxCustomProgressBarViewInfo* AViewInfo, bool ANative);
};

class TcxCustomProgressBarProperties : public TcxCustomEditProperties {
public:
  explicit TcxCustomProgressBarProperties(TPersistent* AOwner);
  ~TcxCustomProgressBarProperties() override;

  void Assign(const TPersistent* Source) override;

  const TcxProgressBarSettings& GetSettings() const { return FSettings; }
  TColor GetBeginColor() const { return FSettings.BeginColor; }
  void SetBeginColor(TColor Value) { Store(FSettings.BeginColor, Value); }
  TcxProgressBarBevelOuter GetBarBevelOuter() const { return FSettings.BarBevelOuter; }
  void SetBarBevelOuter(TcxProgressBarBevelOuter Value) { Store(FSettings.BarBevelOuter, Value); }
  TColor GetEndColor() const { return FSettings.EndColor; }
  void SetEndColor(TColor Value) { Store(FSettings.EndColor, Value); }
  // Made at the first read.
  TBitmap* GetForegroundImage();
  // Copies the picture; nil frees it.
  void SetForegroundImage(const TBitmap* Value);
  int GetMin() const { return FSettings.Min; }
  // At or above Max, moves Max up to it.
  void SetMin(int Value);
  int GetMax() const { return FSettings.Max; }
  // A maximum not above the minimum is ignored.
  void SetMax(int Value);
  TcxProgressBarOrientation GetOrientation() const { return FSettings.Orientation; }
  void SetOrientation(TcxProgressBarOrientation Value) { Store(FSettings.Orientation, Value); }
  bool GetShowText() const { return FSettings.ShowText; }
  void SetShowText(bool Value) { Store(FSettings.ShowText, Value); }
  TcxProgressBarTextStyle GetShowTextStyle() const { return FSettings.ShowTextStyle; }
  void SetShowTextStyle(TcxProgressBarTextStyle Value) { Store(FSettings.ShowTextStyle, Value); }
  TcxProgressBarOrientation GetTextOrientation() const { return FSettings.TextOrientation; }
  void SetTextOrientation(TcxProgressBarOrientation Value) { Store(FSettings.TextOrientation, Value); }
  bool GetSolidTextColor() const { return FSettings.SolidTextColor; }
  void SetSolidTextColor(bool Value) { Store(FSettings.SolidTextColor, Value); }
  TcxProgressBarBarStyle GetBarStyle() const { return FSettings.BarStyle; }
  void SetBarStyle(TcxProgressBarBarStyle Value) { Store(FSettings.BarStyle, Value); }
  bool GetTransparentImage() const { return FSettings.TransparentImage; }
  void SetTransparentImage(bool Value) { Store(FSettings.TransparentImage, Value); }
  int GetBorderWidth() const { return FSettings.BorderWidth; }
  void SetBorderWidth(int Value) { Store(FSettings.BorderWidth, std::clamp(Value, 0, 65535)); }
  int GetOverloadValue() const { return FSettings.OverloadValue; }
  // Kept within Min and Max.
  void SetOverloadValue(int Value);
  bool GetShowOverload() const { return FSettings.ShowOverload; }
  void SetShowOverload(bool Value) { Store(FSettings.ShowOverload, Value); }
  TColor GetOverloadBeginColor() const { return FSettings.OverloadBeginColor; }
  void SetOverloadBeginColor(TColor Value) { Store(FSettings.OverloadBeginColor, Value); }
  TColor GetOverloadEndColor() const { return FSettings.OverloadEndColor; }
  void SetOverloadEndColor(TColor Value) { Store(FSettings.OverloadEndColor, Value); }
  int GetPeakValue() const { return FSettings.PeakValue; }
  void SetPeakValue(int Value) { Store(FSettings.PeakValue, Value); }
  bool GetShowPeak() const { return FSettings.ShowPeak; }
  void SetShowPeak(bool Value) { Store(FSettings.ShowPeak, Value); }
  TColor GetPeakColor() const { return FSettings.PeakColor; }
  void SetPeakColor(TColor Value) { Store(FSettings.PeakColor, Value); }
  int GetPeakSize() const { return FSettings.PeakSize; }
  void SetPeakSize(int Value) { Store(FSettings.PeakSize, std::max(Value, 1)); }
  bool GetTransparent() const { return FSettings.Transparent; }
  void SetTransparent(bool Value);
  int GetCurrentPosition() const { return FCurrentPosition; }
  void SetCurrentPosition(int Value) { FCurrentPosition = Value; }
  // The peak drawn: PeakValue within the range, raised to the position; a
  // higher result becomes the stored PeakValue.
  int GetRealPeakValue();
  // Invalidates the control when the transparency changes.
  TNotifyEvent OnTransparentChanged;

  bool CompareEditValues() const override { return true; }
  bool ChangeFiredByInnerEdit() const override { return true; }
  std::unique_ptr<TcxCustomEditViewData> CreateViewDataObject(TcxCustomEditStyle* AStyle,
                                                              bool AIsInplace) override;
  TcxClassRef GetContainerClass() const override;
  std::unique_ptr<TcxCustomEditStyle> CreateStyle(TPersistent* AOwner, bool AIsInternal) const override;
  std::unique_ptr<TcxCustomEditViewInfo> CreateViewInfo() const override;
  void EditValueToDisplayText(const Variant& EditValue, bool AFullText, String& Text) override;
  int GetCapabilities() const override { return 0x45; }
  void EditValueToDisplayValue(const Variant& EditValue, Variant& DisplayValue, bool AEditFocused) override;

protected:
  String ClassName() const override { return "TcxCustomProgressBarProperties"; }

private:
  template <typename T> void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  int DisplayPosition(const Variant& EditValue) const;

  TcxProgressBarSettings FSettings;
  std::unique_ptr<TBitmap> FForegroundImage;
  int FCurrentPosition = 0;
};

class TcxProgressBarProperties : public TcxCustomProgressBarProperties {
public:
  using TcxCustomProgressBarProperties::TcxCustomProgressBarProperties;

protected:
  String ClassName() const override { return "TcxProgressBarProperties"; }
};

class TcxProgressBarStyle : public TcxCustomEditStyle {
public:
  using TcxCustomEditStyle::TcxCustomEditStyle;

protected:
  String ClassName() const override { return "TcxProgressBarStyle"; }
};

class TcxCustomProgressBar : public TcxCustomEdit {
public:
  explicit TcxCustomProgressBar(TComponent* AOwner);

  TcxCustomProgressBarProperties* GetProperties() const {
    return static_cast<TcxCustomProgressBarProperties*>(TcxCustomEdit::GetProperties());
  }
  TcxCustomProgressBarProperties* GetActiveProperties() const {
    return static_cast<TcxCustomProgressBarProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxCustomProgressBarViewInfo* GetViewInfo() const {
    return static_cast<TcxCustomProgressBarViewInfo*>(TcxCustomEdit::GetViewInfo());
  }
  int GetPosition() const { return FPosition; }
  // Kept within Min and Max, except while loading.
  void SetPosition(int Value);

  bool CanFocus() override { return GetIsInplace(); }
  bool CanFocusOnClick() override { return GetIsInplace(); }
  TcxContainerStyleValues GetHiddenStyleValues() const override;
  void GetAutoSizeConstraints(TcxEditSizeProperties& ASizeProperties) override;
  void ApplyPropertiesChange(TcxCustomEditProperties* AProperties) override;
  void SynchronizeDisplayValue() override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;
  void WndProc(TMessage& Message) override;

protected:
  String ClassName() const override { return "TcxCustomProgressBar"; }

private:
  int FPosition = 0;
};

class TcxProgressBar : public TcxCustomProgressBar {
public:
  using TcxCustomProgressBar::TcxCustomProgressBar;

protected:
  String ClassName() const override { return "TcxProgressBar"; }
};

// Each channel a/b of the way from c1 to c2, kept within 0..255; b = 0
// counts as 1.
TColor GetGradientColor(TColor c1, TColor c2, int a, int b);

void cxProgressBarInitialize();
void cxProgressBarFinalize();
