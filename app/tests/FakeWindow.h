// A main window that records what the engine shows, and answers the
// chooser and the confirmation as a test tells it to.
#pragma once

#include "SyncEngine.h"
#include "TestLines.h"

#include <map>
#include <optional>
#include <vector>

class TRecordingWindow : public TSyncWindow {
public:
  std::vector<String> LogLines;
  String Script;
  std::map<TSyncPhase, String> Phases;
  String CurrentTable, Count;
  int ProgressMax = 100, Position = 0;
  std::vector<String> Messages;
  String Clipboard;
  // Tables the chooser checks; all when unset. ChooserOK false cancels it.
  std::optional<std::vector<String>> ChooserPicks;
  bool ChooserOK = true;
  std::vector<String> ChooserOffered;
  bool Confirm = true;
  std::vector<String> Confirmations;
  int StatusUpdates = 0;
  std::map<TSyncAction, bool> Actions;

  void Log(const String& line) override { LogLines.push_back(line); }
  void ClearLog() override { LogLines.clear(); }
  void AppendScript(const String& text) override { Script += text; }
  String GetScriptText() override { return Script; }
  void ClearScript() override { Script.clear(); }
  void SetPhaseCaption(TSyncPhase phase, const String& caption) override { Phases[phase] = caption; }
  void SetCurrentTable(const String& caption) override { CurrentTable = caption; }
  void SetCount(const String& caption) override { Count = caption; }
  void SetProgressMax(int max) override {
    if (max > 0) ProgressMax = max;
  }
  int GetProgressMax() override { return ProgressMax; }
  void SetProgressPosition(int position) override { Position = position; }
  void StepProgress() override { ++Position; }
  bool ChooseTables(const TStrings& tables, TStrings& chosen) override {
    ChooserOffered.clear();
    chosen.Clear();
    for (int i = 0; i < tables.GetCount(); ++i) {
      ChooserOffered.push_back(tables[i]);
      bool picked = !ChooserPicks;
      if (ChooserPicks)
        for (const String& p : *ChooserPicks)
          picked |= p == tables[i];
      if (picked) chosen.Add(tables[i]);
    }
    return ChooserOK;
  }
  bool AskConfirmation(const String& text) override {
    Confirmations.push_back(text);
    return Confirm;
  }
  void ShowMessage(const String& text) override { Messages.push_back(text); }
  void CopyToClipboard(const String& text) override { Clipboard = text; }
  void ProcessMessages() override {}
  void SetActionEnabled(TSyncAction action, bool enabled) override { Actions[action] = enabled; }
  void UpdateStatus() override { ++StatusUpdates; }

  // The script's statements, one per line of the script.
  Lines Statements() const {
    TStringList lines;
    lines.SetText(Script);
    return Items(lines);
  }
};
