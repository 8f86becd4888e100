// Shared ground of the editor benchmarks: a window-free editor model with
// the project's compiled SQL rules, measured at a fixed pitch in a window of
// 120 columns by 50 rows, and a stopwatch.
#pragma once

#include "SynParse.h"
#include "SyntaxMemo_model.h"

#include <chrono>
#include <memory>

class TBenchEditor {
public:
  TBenchEditor() {
    TMemoryStream rules;
    rules.LoadFromFile(VELMORA_SQL_RULES);
    Parser.ReadParserData(rules);
    Model.SetMeasurer(&Measurer);
    Model.SetClientSize(120 * 8 + Model.TextLeftEdge(), 50 * 17);
    Model.AttachParser(1, &Parser);
  }
  ~TBenchEditor() { Model.AttachParser(1, nullptr); }
  TBenchEditor(const TBenchEditor&) = delete;
  TBenchEditor& operator=(const TBenchEditor&) = delete;

  TSyntaxMemoParser Parser{nullptr};
  TFixedPitchMeasurer Measurer{8, 16, 1};
  TSyntaxMemoModel Model;
};

inline double SecondsSince(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}
