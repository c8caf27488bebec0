#pragma once

namespace dye {

// A run sequence owns the machine: from the zeroing of a job's balances (or
// its resume) to its record. The run sequences claim it; the end of a job and
// the menu STOP release it.
class TransferFlag {
  public:
    void claim() { active_ = true; }
    void release() { active_ = false; }
    bool active() const { return active_; }

  private:
    bool active_ = false;
};

}  // namespace dye
