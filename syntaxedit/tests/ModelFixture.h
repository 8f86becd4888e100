// Test support for the editor model: a model measured at a fixed pitch of 8
// by 17 pixels in a client area of 100 columns by 20 rows, with helpers that
// read its rows back.
#pragma once

#include "SyntaxMemo_model.h"

#include <gtest/gtest.h>

#include <vector>

inline constexpr int CellWidth = 8;
inline constexpr int RowHeight = 17;

// Records what the model asks of its window.
class TRecordingHost : public TSyntaxMemoHost {
public:
  void Paint() override { ++Paints; }
  void CutToClipboard() override { ++Cuts; }
  void CopyToClipboard() override { ++Copies; }
  int Paints = 0;
  int Cuts = 0;
  int Copies = 0;
};

class ModelTest : public testing::Test {
protected:
  ModelTest() {
    model.SetMeasurer(&measurer);
    model.SetHost(&host);
    // No gutter: the text starts at the margin.
    model.GetSettings().Options &= ~SyntaxMemoOptionBit(smoShowGutter);
    model.ControlWidth = 0;
    model.SetClientSize(Left() + 100 * CellWidth, 20 * RowHeight);
  }

  int Left() const { return model.GetSettings().MarginWidth; }

  void SetText(const String& text) {
    model.SelectAll();
    model.ReplaceSelText(text.c_str());
    model.SetSelection(0, 0, false);
  }
  void Type(const String& text) { model.ReplaceSelText(text.c_str()); }
  // The text as the rows hold it (line ends as CR).
  String Text() { return model.GetText(0); }
  void SetOption(TSyntaxMemoOption option, bool on) {
    uint32_t bit = SyntaxMemoOptionBit(option);
    model.SetOptions(on ? model.GetOptions() | bit : model.GetOptions() & ~bit);
  }

  std::vector<TRowRecord*> Rows() const {
    std::vector<TRowRecord*> rows;
    for (TRowRecord* r = model.GetFirstRow(); r; r = r->Next)
      rows.push_back(r);
    return rows;
  }
  std::vector<String> RowTexts() const {
    std::vector<String> texts;
    for (TRowRecord* r : Rows())
      texts.emplace_back(r->Text.get(), r->Length);
    return texts;
  }
  std::vector<int> RowLengths() const {
    std::vector<int> lengths;
    for (TRowRecord* r : Rows())
      lengths.push_back(r->Length);
    return lengths;
  }

  TFixedPitchMeasurer measurer{CellWidth, RowHeight - 1, 1};
  TRecordingHost host;
  TSyntaxMemoModel model;
};
