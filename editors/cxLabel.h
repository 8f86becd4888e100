// The label: an editor that shows its caption (its edit value as text) with
// raised, lowered or outlined faces, depth copies in one of eight
// directions, turned text, a picture tiled in the letters, word wrap and
// end ellipsis. Drawn off-screen and copied in one block; it hands the
// focus to another control on its accelerator and never takes it itself.
#pragma once

#include "cxTextEdit.h"

#include <memory>

enum TcxLabelEffect { cxleNormal, cxleFun, cxleExtrude, cxleCool };
enum TcxLabelStyle { cxlsNormal, cxlsRaised, cxlsLowered, cxlsOutLine };
// The direction the depth copies go.
enum TcxLabelOrientation {
  cxoLeft,
  cxoRight,
  cxoTop,
  cxoBottom,
  cxoLeftTop,
  cxoLeftBottom,
  cxoRightTop,
  cxoRightBottom
};

// No border, no hot tracking and the parent's colour by default.
class TcxLabelEditStyle : public TcxCustomEditStyle {
public:
  using TcxCustomEditStyle::TcxCustomEditStyle;
  TcxContainerBorderStyle GetDefaultBorderStyle() const override { return cbsNone; }
  TColor GetDefaultColor() const override;
  bool GetDefaultHotTrack() const override { return false; }
  void RestoreDefaults() override;

protected:
  String ClassName() const override { return "TcxLabelEditStyle"; }
};

class TcxCustomLabelViewInfo : public TcxCustomTextEditViewInfo {
public:
  TcxCustomLabelViewInfo() = default;

  TcxEditAlignment Alignment{nullptr};
  TcxLabelEffect LabelEffect = cxleNormal;
  TcxLabelStyle LabelStyle = cxlsNormal;
  TcxLabelOrientation Orientation = cxoRightBottom;
  int Depth = 0;
  TPoint DepthOffset;
  TColor ShadowedColor = clGrayText;
  bool ShowEndEllipsis = false;
  int Angle = 0;
  int PenWidth = 1;
  bool WordWrap = false;
  // The properties' picture, not a copy.
  TBitmap* Glyph = nullptr;
  // The system DrawText format of the text.
  int TextFormat = 0;
  TRect TextArea;
  TRect BoundsCopy;
  TRect FocusRect;

  void InternalPaint(TcxCanvas* ACanvas) override;
  void PaintText(TcxCanvas*) override {}
  void Offset(int DX, int DY) override;
  virtual void PaintLabel(TcxCanvas* ACanvas);
};

class TcxCustomLabelViewData : public TcxCustomEditViewData {
public:
  using TcxCustomEditViewData::TcxCustomEditViewData;

  TcxContainerBorderStyle GetEditContainerBorderStyle(int AHotState) const override;
  void CalculateFixedPartSize(TcxCanvas* ACanvas, bool AIsInplace, SIZE& AFixedSize,
                              TcxCustomEditViewInfo* AViewInfo, SIZE& AMinContentSize) override;
  void Calculate(TcxCanvas* ACanvas, const TRect& ABounds, const TPoint& P, int Button, TShiftState Shift,
                 TcxCustomEditViewInfo* AViewInfo, bool AIsMouseEvent) override;
  SIZE GetEditContentSize(TcxCanvas* ACanvas, const Variant& EditValue,
                          const TcxEditSizeProperties& ASizeProperties) override;
  virtual int GetDrawTextFormat() const;

protected:
  String ClassName() const override { return "TcxCustomLabelViewData"; }
};

class TcxCustomLabelProperties : public TcxCustomEditProperties {
public:
  explicit TcxCustomLabelProperties(TPersistent* AOwner);
  ~TcxCustomLabelProperties() override;

  void Assign(const TPersistent* Source) override;

  TcxLabelEffect GetLabelEffect() const { return FLabelEffect; }
  void SetLabelEffect(TcxLabelEffect Value) { Store(FLabelEffect, Value); }
  TcxLabelStyle GetLabelStyle() const { return FLabelStyle; }
  void SetLabelStyle(TcxLabelStyle Value) { Store(FLabelStyle, Value); }
  TcxLabelOrientation GetOrientation() const { return FOrientation; }
  void SetOrientation(TcxLabelOrientation Value) { Store(FOrientation, Value); }
  WORD GetDepth() const { return FDepth; }
  void SetDepth(WORD Value) { Store(FDepth, Value); }
  TColor GetShadowedColor() const { return FShadowedColor; }
  void SetShadowedColor(TColor Value) { Store(FShadowedColor, Value); }
  bool GetShowEndEllipsis() const { return FShowEndEllipsis; }
  void SetShowEndEllipsis(bool Value) { Store(FShowEndEllipsis, Value); }
  int GetAngle() const { return FAngle; }
  void SetAngle(int Value) { Store(FAngle, Value); }
  int GetPenWidth() const { return FPenWidth; }
  void SetPenWidth(int Value) { Store(FPenWidth, Value); }
  // Made empty at the first read.
  TBitmap* GetGlyph();
  bool HasGlyph() const { return FGlyph != nullptr; }
  // Copies the picture; nil frees the own one.
  void SetGlyph(const TBitmap* Value);
  bool GetWordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value) { Store(FWordWrap, Value); }
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool Value) { Store(FTransparent, Value); }

  // The offset of the face from the depth copies, and the room they take.
  void GetDepthOffset(int& DX, int& DY) const;
  void GetDepthSize(int& W, int& H) const;

  // The owner's invalidation, called after every change.
  TNotifyEvent OnInternalChanged;

  void Changed() override;
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
  int GetEditValueSource(bool) const override { return 1; }

protected:
  String ClassName() const override { return "TcxCustomLabelProperties"; }

private:
  template <typename T> void Store(T& Field, T Value) {
    if (Field == Value) return;
    Field = Value;
    Changed();
  }
  TcxLabelEffect FLabelEffect = cxleNormal;
  TcxLabelStyle FLabelStyle = cxlsNormal;
  TcxLabelOrientation FOrientation = cxoRightBottom;
  WORD FDepth = 0;
  TColor FShadowedColor = clGrayText;
  bool FShowEndEllipsis = false;
  int FAngle = 0;
  int FPenWidth = 1;
  std::unique_ptr<TBitmap> FGlyph;
  bool FWordWrap = false;
  bool FTransparent = false;
};

class TcxLabelProperties : public TcxCustomLabelProperties {
public:
  using TcxCustomLabelProperties::TcxCustomLabelProperties;

protected:
  String ClassName() const override { return "TcxLabelProperties"; }
};

class TcxCustomLabel : public TcxCustomEdit {
public:
  explicit TcxCustomLabel(TComponent* AOwner);
  ~TcxCustomLabel() override;

  TcxCustomLabelProperties* GetProperties() const {
    return static_cast<TcxCustomLabelProperties*>(TcxCustomEdit::GetProperties());
  }
  TcxCustomLabelProperties* GetActiveProperties() const {
    return static_cast<TcxCustomLabelProperties*>(TcxCustomEdit::GetActiveProperties());
  }
  TcxCustomLabelViewInfo* GetViewInfo() const {
    return static_cast<TcxCustomLabelViewInfo*>(TcxCustomEdit::GetViewInfo());
  }
  const String& GetCaption() const { return FCaption; }
  // Text that differs from the caption only in letter case is ignored.
  void SetCaption(const String& Value);
  bool IsCaptionSet() const { return FCaptionSet; }
  TWinControl* GetFocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);
  void SetAutoSize(bool Value);
  // The size the caption needs within a proposed one.
  TRect CalculateAutoSizeRect(int AWidth, int AHeight);

  void SetName(const String& NewName) override;
  bool CanResize(int& NewWidth, int& NewHeight) override;
  bool CanFocus() override { return GetIsInplace(); }
  bool CanFocusOnClick() override { return GetIsInplace(); }
  void GetAutoSizeConstraints(TcxEditSizeProperties& ASizeProperties) override;
  void StoreEditValue(const Variant& Value, bool AValidate) override;
  void ApplyPropertiesChange(TcxCustomEditProperties* AProperties) override;
  void SynchronizeDisplayValue() override;
  std::unique_ptr<TcxCustomEditProperties> CreateProperties() override;
  bool CanAcceptRepositoryItem(TcxEditRepositoryItem* AItem) override;
  void WndProc(TMessage& Message) override;

protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
  String ClassName() const override { return "TcxCustomLabel"; }

private:
  void CMDialogChar(TMessage& Message);
  void WMEraseBkgnd(TMessage& Message);

  String FCaption;
  bool FCaptionSet = false;
  TWinControl* FFocusControl = nullptr;
};

class TcxLabel : public TcxCustomLabel {
public:
  using TcxCustomLabel::TcxCustomLabel;

protected:
  String ClassName() const override { return "TcxLabel"; }
};

void cxLabelInitialize();
void cxLabelFinalize();
