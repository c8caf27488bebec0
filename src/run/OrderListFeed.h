#pragma once

#include <QString>

#include <array>

namespace dye {

struct JobRow;
struct StationState;

// What both run sequences show on every tick besides their own steps: the
// order list window (Form11) filled from the job on the machine, and the
// blinking run indicator.
class OrderListFeed {
  public:
    // Form11's job fields, the bucket place (`place` 1..64; 0 none) and one
    // line per grid row: code " = " name " = " recipe " = " actual " = "
    // tube " = " balance.
    void fill(StationState& s, int place);
    // The run indicator blinks yellow and green while a job is on the machine.
    void blink(StationState& s);
    void reset() { lines_ = {}; }

  private:
    // The order list's line of job row `row`, made again only when one of
    // the six texts it shows has changed.
    const QString& listLine(const JobRow& row, int r);

    struct ListLine {
        std::array<QString, 6> from;  // code, name, recipe, actual, tube, balance
        QString text;
    };
    std::array<ListLine, 10> lines_;
    int blinkCount_ = 0;
};

}  // namespace dye
