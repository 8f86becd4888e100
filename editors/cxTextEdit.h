// Text editors. This part holds what the shared painting routines read of
// them: the text view data's questions and the text view info's fields.
#pragma once

#include "cxEdit.h"
#include "cxEditTextUtils.h"

enum TcxTextEditingStyle { tesFreeText, tesMatchItem, tesListOnly, tesNoCaret };

// The view data of text editors, as far as measuring and painting ask it.
class TcxCustomTextEditViewData : public TcxCustomEditViewData {
public:
  using TcxCustomEditViewData::TcxCustomEditViewData;
  TcxTextEditingStyle EditingStyle = tesFreeText;
  virtual bool IsComboBoxStyle() const { return false; }
  // The editor text flags the text is drawn with.
  virtual int GetDrawTextFlags() const { return 0; }

protected:
  String ClassName() const override { return "TcxCustomTextEditViewData"; }
};

class TcxCustomTextEditViewInfo : public TcxCustomEditViewInfo {
public:
  String Text;
  TRect TextRect;
  // Editor text flags: the text-row flag word with the alignment bits.
  int DrawTextFlags = 0;
  // The text rows, made at the first paint after the text or rectangle
  // changed.
  bool TextRowsValid = false;
  TcxTextLayoutParams TextParams;
  TRect TextRowsArea;
  TcxTextRows TextRows;
  int TextRowCount = 0;
  int MaxLineCount = 0;
  bool IsTextClipped = false;
  int SelStart = 0;
  int SelLength = 0;
  TColor SelTextColor = clHighlightText;
  TColor SelBackgroundColor = clHighlight;
  bool IsSelectedLook = false;
  bool IsComboBoxStyle = false;
  TcxTextEditingStyle EditingStyle = tesFreeText;
  bool HasPopupWindow = false;
  bool IsInnerEditShown = false;

  virtual void PaintText(TcxCanvas* ACanvas);
  // May change the font the text is drawn in.
  virtual void AdjustTextFont(TcxCanvas*) {}
  void InternalPaint(TcxCanvas* ACanvas) override;
};
