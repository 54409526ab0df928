// A console reporter that sets each composition result beside a memcpy of the
// same frame size from the same run: the ratio says how far a frame is from
// the fastest the machine can move its bytes.
#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

// Both the compositions and the copies report their frame size in bytes under
// this counter; that is how the reporter pairs them.
inline constexpr char FRAME_BYTES_COUNTER[] = "frame_bytes";

class MemcpyRatioReporter : public benchmark::ConsoleReporter {
  public:
    using ConsoleReporter::ConsoleReporter;

    // Adds an "x_memcpy" counter (processor time over that of the copy) to
    // every composition result whose frame size a copy has been measured for,
    // then prints as the console reporter does.
    void ReportRuns(const std::vector<Run> &runs) override;
    // Prints the ratios once more, as a table at the end: of the single runs,
    // or of the medians where runs are repeated.
    void Finalize() override;

  private:
    // Seconds per copy, by frame size and aggregate ("" for a single run).
    std::map<std::pair<double, std::string>, double> copy_seconds_;
    std::vector<std::string> table_;
};
