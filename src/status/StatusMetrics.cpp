#include "status/StatusMetrics.h"

#include "status/StatusCounters.h"

namespace dye {
namespace {

class Exposition {
  public:
    void family(const char* name, const char* type, const char* help) {
        out_ += QByteArray("# HELP ") + name + ' ' + help + "\n# TYPE " + name + ' ' + type + '\n';
    }
    void sample(const QByteArray& name, double value) {
        out_ += name + ' ' + QByteArray::number(value, 'g', 17) + '\n';
    }
    void metric(const char* name, const char* type, const char* help, double value) {
        family(name, type, help);
        sample(name, value);
    }
    QByteArray text() const { return out_; }

  private:
    QByteArray out_;
};

}  // namespace

QByteArray statusMetrics(const StatusSnapshot& s, const StatusCounters& c) {
    Exposition e;
    e.metric("dyestation_jobs_finished_total", "counter",
             "Jobs finished since the station started.", double(c.jobsFinished()));
    e.metric("dyestation_lines_finished_total", "counter",
             "Recipe lines of the finished jobs since the station started.",
             double(c.linesFinished()));
    e.metric("dyestation_lines_out_of_tolerance_total", "counter",
             "Finished lines with nothing metered or off the recipe weight by more than the "
             "tolerance.",
             double(c.linesOff()));
    const char* error = "dyestation_metering_error_grams";
    e.family(error, "histogram", "Actual minus recipe weight of each finished line, in grams.");
    for (size_t i = 0; i < StatusCounters::kErrorBounds.size(); ++i)
        e.sample(QByteArray(error) + "_bucket{le=\"" +
                     QByteArray::number(StatusCounters::kErrorBounds[i]) + "\"}",
                 double(c.errorsAtMost(i)));
    e.sample(QByteArray(error) + "_bucket{le=\"+Inf\"}", double(c.errorCount()));
    e.sample(QByteArray(error) + "_sum", c.errorSum());
    e.sample(QByteArray(error) + "_count", double(c.errorCount()));
    e.metric("dyestation_queue_length", "gauge", "Jobs waiting in the queue.", s.queueLength());
    e.metric("dyestation_link_up", "gauge", "1 while the controller answers.", s.linkUp ? 1 : 0);
    e.metric("dyestation_link_losses_total", "counter",
             "Times the link to the controller was lost since the station started.", s.linkLosses);
    e.metric("dyestation_plant_writebacks_waiting", "gauge",
             "Completion write-backs waiting for the plant database.", s.plantWaiting);
    e.metric("dyestation_alarms", "gauge", "Messages on screen waiting for the operator.",
             double(s.alarms.size()));
    return e.text();
}

}  // namespace dye
