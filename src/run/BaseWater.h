#pragma once

#include <QtGlobal>

#include "link/Registers.h"
#include "run/RunContext.h"
#include "run/WaterFlow.h"
#include "run/WaterLearning.h"

namespace dye {

// The base water of a one-balance job: ten seconds of the water pipe before
// the rows, never more than the job's amount. A job that asks no water gets
// none. A pipe whose rate and run-on are learned gets an opening short
// enough for the amount; whatever the pipe, the balance cuts the water once
// it reaches the amount less the pipe's run-on. A whole ten-second opening
// teaches the pipe its rate (from the readings of full flow) and its run-on,
// so that the first top-up is already timed.
class BaseWater {
  public:
    explicit BaseWater(RunContext& c);

    // Lets the water in towards `amount`; false when none is let in.
    bool start(double amount);
    // Every tick until the water is measured: cuts it at the amount.
    void watch();
    // The link or the balance failed while the water ran: it is not learned from.
    void disturb() { disturbed_ = true; }
    // The water given, measured once the pipe has run out.
    void measured(double given);
    void reset();

  private:
    double given() const;

    RunContext& c_;
    WaterLearning learning_;
    WaterFlow flow_;
    qint64 openedAt_ = -1;
    int pipe_ = reg::WaterValve;
    int hundredths_ = 0;  // the opening let in; 0 none
    double amount_ = 0;
    double allowance_ = 0;
    double base_ = 0;
    bool cut_ = false;
    bool disturbed_ = false;
};

}  // namespace dye
