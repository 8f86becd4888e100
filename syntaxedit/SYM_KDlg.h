// The hot-key box that shows the last key combination pressed in it, and the
// two-step dialog that captures a key pair for an editor command.
#pragma once

#include "ActnList.h"
#include "ExtCtrls.h"
#include "Forms.h"
#include "StdCtrls.h"

class TSM_HotKey : public TCustomEdit {
public:
  explicit TSM_HotKey(TComponent* AOwner);
  TShortCut GetShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut code);
  void WndProc(TMessage& Message) override;

protected:
  void KeyDown(WORD& Key, TShiftState Shift) override;
  String ClassName() const override { return "TSM_HotKey"; }

private:
  TShortCut FShortCut = 0;
};

class TKeyAssignDialog : public TForm {
public:
  explicit TKeyAssignDialog(TComponent* AOwner);
  // mode 0 edits the given pair, 1 adds a new one. The keys always receive
  // what the boxes show; the result says whether Finish closed the dialog.
  bool ExecuteKeyPair(TShortCut& firstKey, TShortCut& secondKey, const String& commandName,
                      const String& step1Info, const String& step2Info, uint8_t mode);

  TPanel* WizardPanel = nullptr;
  TPanel* Step1Panel = nullptr;
  TPanel* Step2Panel = nullptr;
  TLabel* Step1Label = nullptr;
  TLabel* Step2Label = nullptr;
  TLabel* Step1InfoLabel = nullptr;
  TLabel* Step2InfoLabel = nullptr;
  TButton* ClearKey1Button = nullptr;
  TButton* ClearKey2Button = nullptr;
  TPanel* ButtonPanel = nullptr;
  TButton* BackButton = nullptr;
  TButton* NextButton = nullptr;
  TButton* CancelButton = nullptr;
  TSM_HotKey* GetKeyBox(int step) const { return step == 1 ? FKey1 : FKey2; }
  int GetStep() const { return FStep; }

protected:
  void DoShow() override;
  String ClassName() const override { return "TKeyAssignDialog"; }

private:
  TPanel* StepPanel(int tag, TLabel*& title, TLabel*& info, TSM_HotKey*& box, TButton*& clear);
  void FormShow();
  void NextButtonClick();
  void BackButtonClick();
  void GoToStep(int step);
  void UpdateButtons();

  uint8_t FMode = 0;
  TShortCut FFirstKey = 0;
  TShortCut FSecondKey = 0;
  TSM_HotKey* FKey1 = nullptr;
  TSM_HotKey* FKey2 = nullptr;
  int FStep = 1;
};
