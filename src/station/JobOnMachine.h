#pragma once

#include "station/CurrentJob.h"

namespace dye {

// The one owner of the job on the machine. The job start loads it, the run's
// sequences write what the bucket gets and how far the job is, and the end of
// the job or a stop clears it; the screens are projected from it once per
// pass, and the record and the journal are written from it.
class JobOnMachine {
  public:
    const CurrentJob& current() const { return job_; }
    const JobRow& row(int r) const { return job_.rows[size_t(r)]; }
    bool loaded() const { return job_.loaded(); }

    void load(CurrentJob job) { job_ = std::move(job); }
    void setActual(int r, const QString& actual) { job_.rows[size_t(r)].actual = actual; }
    void shadeRow(int r, RowShade shade) { job_.rows[size_t(r)].shade = shade; }
    // Every row, with a code or not.
    void shadeRows(RowShade shade);
    void setActualWater(const QString& text) { job_.actualWater = text; }
    // The actual water marked as off its amount: the whole number stays
    // first, so readers still read it.
    void markWaterOff();
    void shadeWater(WaterShade shade) { job_.waterShade = shade; }
    void clear() { job_ = CurrentJob{}; }

  private:
    CurrentJob job_;
};

}  // namespace dye
