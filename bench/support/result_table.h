#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

#include "support/child_measure.h"
#include "support/table_printer.h"

namespace brevant::bench {

// What one measured case shows in the table. Zero leaves a figure out.
struct CaseFigures {
  std::string name{};
  Measurement measurement{};
  std::uint64_t inputBytes = 0;   // gives MB/s
  std::uint64_t units = 0;        // gives the time per unit (line, file, ...)
  std::uint64_t outputBytes = 0;  // what the case wrote
  const Measurement* floor = nullptr;
  double ratioGoal = 0;  // the case passes when its time is at most this many floors
  std::string note{};    // added to the result column
};

// The benchmark's printed result: one row per case, and rows for further goals
// on the figures of a case. MB are 10^6 bytes.
class ResultTable {
 public:
  explicit ResultTable(const std::string& unitName);

  void addCase(const CaseFigures& figures);

  enum class Figure { Throughput, PerUnit, Peak, Ratio, Milliseconds };
  void addCheck(std::string name, Figure column, double value, std::string goal, bool pass);
  // Two checks: the wall time and the CPU time of `measured` over those of
  // `base`, each at most `goal`.
  void addCostChecks(const std::string& name, const Measurement& measured, const Measurement& base,
                     double goal);

  void print(std::FILE* to) const { table_.print(to); }

 private:
  TablePrinter table_;
};

// Input bytes per second of the best run, in MB/s.
double Throughput(const Measurement& measurement, std::uint64_t bytes);

}  // namespace brevant::bench
