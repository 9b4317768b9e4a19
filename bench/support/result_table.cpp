#include "support/result_table.h"

#include <vector>

namespace brevant::bench {

namespace {

enum Column {
  kName,
  kRuns,
  kMilliseconds,
  kCpu,
  kThroughput,
  kPerUnit,
  kPeak,
  kOutput,
  kFloor,
  kRatio,
  kGoal,
  kResult
};

std::string Verdict(bool pass) { return pass ? "PASS" : "MISS"; }

}  // namespace

ResultTable::ResultTable(const std::string& unitName) {
  using Align = TablePrinter::Align;
  table_.addColumn("case", Align::Left);
  table_.addColumn("runs", Align::Right);
  table_.addColumn("time ms", Align::Right);
  table_.addColumn("cpu ms", Align::Right);
  table_.addColumn("MB/s", Align::Right);
  table_.addColumn("us/" + unitName, Align::Right);
  table_.addColumn("peak MB", Align::Right);
  table_.addColumn("out MB", Align::Right);
  table_.addColumn("floor ms", Align::Right);
  table_.addColumn("ratio", Align::Right);
  table_.addColumn("goal", Align::Left);
  table_.addColumn("result", Align::Left);
}

double Throughput(const Measurement& measurement, std::uint64_t bytes) {
  return measurement.bestSeconds > 0 ? static_cast<double>(bytes) / 1e6 / measurement.bestSeconds : 0;
}

void ResultTable::addCase(const CaseFigures& figures) {
  const Measurement& m = figures.measurement;
  std::vector<std::string> row(kResult + 1);
  row[kName] = figures.name;
  row[kRuns] = std::to_string(m.runs);
  row[kPeak] = Fixed(m.peakMegabytes, 1);
  if (figures.ratioGoal > 0) row[kGoal] = "time <= " + Fixed(figures.ratioGoal, 0) + "x floor";
  std::string result;
  if (!m.completed) {
    result = "BROKEN: " + m.problem;
  } else {
    row[kMilliseconds] = Fixed(m.bestSeconds * 1e3, 1);
    row[kCpu] = Fixed(m.bestCpuSeconds * 1e3, 0);
    if (figures.inputBytes > 0) row[kThroughput] = Fixed(Throughput(m, figures.inputBytes), 0);
    if (figures.units > 0) row[kPerUnit] = Fixed(m.bestSeconds * 1e6 / static_cast<double>(figures.units), 3);
    if (figures.outputBytes > 0) row[kOutput] = Fixed(static_cast<double>(figures.outputBytes) / 1e6, 1);
    const Measurement* floor = figures.floor;
    if (floor != nullptr && floor->completed && floor->bestSeconds > 0) {
      const double ratio = m.bestSeconds / floor->bestSeconds;
      row[kFloor] = Fixed(floor->bestSeconds * 1e3, 1);
      row[kRatio] = Fixed(ratio, 2);
      if (figures.ratioGoal > 0) result = Verdict(ratio <= figures.ratioGoal);
    } else if (figures.ratioGoal > 0) {
      result = "MISS: no floor";
    }
  }
  if (m.failures > 0) result += (result.empty() ? "" : ", ") + std::to_string(m.failures) + " errors";
  if (!figures.note.empty()) result += (result.empty() ? "" : ", ") + figures.note;
  row[kResult] = result;
  table_.addRow(std::move(row));
}

void ResultTable::addCheck(std::string name, Figure column, double value, std::string goal, bool pass) {
  std::vector<std::string> row(kResult + 1);
  row[kName] = std::move(name);
  switch (column) {
    case Figure::Throughput:
      row[kThroughput] = Fixed(value, 0);
      break;
    case Figure::PerUnit:
      row[kPerUnit] = Fixed(value, 3);
      break;
    case Figure::Peak:
      row[kPeak] = Fixed(value, 1);
      break;
    case Figure::Ratio:
      row[kRatio] = Fixed(value, 2);
      break;
    case Figure::Milliseconds:
      row[kMilliseconds] = Fixed(value, 1);
      break;
  }
  row[kGoal] = std::move(goal);
  row[kResult] = Verdict(pass);
  table_.addRow(std::move(row));
}

void ResultTable::addCostChecks(const std::string& name, const Measurement& measured, const Measurement& base,
                                double goal) {
  if (!measured.completed || !base.completed || base.bestSeconds <= 0 || base.bestCpuSeconds <= 0) return;
  const double time = measured.bestSeconds / base.bestSeconds;
  addCheck("   time " + name, Figure::Ratio, time, "<= " + Fixed(goal, 2), time <= goal);
  const double cpu = measured.bestCpuSeconds / base.bestCpuSeconds;
  addCheck("   cpu " + name, Figure::Ratio, cpu, "<= " + Fixed(goal, 2), cpu <= goal);
}

}  // namespace brevant::bench
