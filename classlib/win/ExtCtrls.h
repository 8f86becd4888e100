// The class library's own drawn and container controls, and the timer.
#pragma once

#include "StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TCustomPanel : public TCustomControl {
public:
  explicit TCustomPanel(TComponent* AOwner);
  TBevelCut GetBevelInner() const { return FBevelInner; }
  void SetBevelInner(TBevelCut value);
  TBevelCut GetBevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TBevelCut value);
  int GetBevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int value);
  int GetBorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int value);
  TBorderStyle GetBorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle value);
  TAlignment Alignment = taCenter;
  void WndProc(TMessage& Message) override;

protected:
  void CreateParams(TCreateParams& Params) override;
  void AdjustClientRect(TRect& Rect) override;
  void Paint() override;
  String ClassName() const override { return "TPanel"; }

private:
  TBevelCut FBevelInner = bvNone;
  TBevelCut FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  TBorderStyle FBorderStyle = bsNone;
};

class TPanel : public TCustomPanel {
public:
  using TCustomPanel::TCustomPanel;
};

// Draws a frame of the given width, top and left in one colour, bottom and
// right in the other, and moves the rectangle in by it.
void Frame3D(HDC dc, TRect& rect, TColor topColor, TColor bottomColor, int width);

enum TBevelShape { bsBox, bsFrame, bsTopLine, bsBottomLine, bsLeftLine, bsRightLine, bsSpacer };
enum TBevelStyle { bsLowered, bsRaised };

class TBevel : public TGraphicControl {
public:
  explicit TBevel(TComponent* AOwner);
  TBevelShape Shape = bsBox;
  TBevelStyle Style = bsLowered;

protected:
  void Paint() override;
  String ClassName() const override { return "TBevel"; }
};

class TImage : public TGraphicControl {
public:
  explicit TImage(TComponent* AOwner);
  ~TImage() override;
  TPicture* GetPicture() { return FPicture.get(); }
  void SetPicture(const TPicture* value) { FPicture->Assign(value); }
  bool GetAutoSize() const { return FAutoSize; }
  void SetAutoSize(bool value);
  bool Center = false;
  bool Stretch = false;
  bool Proportional = false;
  bool GetTransparent() const { return FTransparent; }
  void SetTransparent(bool value);

protected:
  void Paint() override;
  String ClassName() const override { return "TImage"; }

private:
  void PictureChanged();
  TRect DestRect();
  std::unique_ptr<TPicture> FPicture;
  bool FAutoSize = false;
  bool FTransparent = false;
};

// A timer on a hidden window; freeing it inside its own OnTimer is safe.
class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;
  bool GetEnabled() const { return FEnabled; }
  void SetEnabled(bool value);
  UINT GetInterval() const { return FInterval; }
  void SetInterval(UINT value);
  TNotifyEvent GetOnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent value);

protected:
  virtual void Timer();
  String ClassName() const override { return "TTimer"; }

private:
  void UpdateTimer();
  void WndProc(TMessage& Message);
  bool FEnabled = true;
  UINT FInterval = 1000;
  TNotifyEvent FOnTimer;
  HWND FWindowHandle = nullptr;
};
