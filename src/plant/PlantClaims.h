#pragma once

#include <QDir>
#include <QList>
#include <QString>
#include <QStringList>

#include "files/jobs/JobRecord.h"

namespace dye {

// What an intake marks taken for this station, and the jobs it becomes.
struct PlantClaim {
    enum class Kind { Vat, Step44, Drop };
    QString id;  // unique among the claims
    Kind kind = Kind::Vat;
    // Vat: vat, batch, introduction. Step44: order, category.
    // Drop: drop file path, record index (from 0), identifier, status before.
    QStringList keys;
    QList<JobRecord> jobs;  // in queue order

    static QString newId();
    // The claim as the logs name it ("vat 3 (batch B1, introduction 01)").
    QString shown() const;
};

// The claims file (PLANT_CLAIMS.txt) in the working directory: an entry is
// written before the plant (or the drop file) is asked to mark its claim and
// goes once its jobs are in the queue or its mark is taken back, so that a
// close or a kill at any instant between the two leaves a trace that the
// next start settles. The file is replaced atomically and synced at every
// change; all instances in the process share one lock, so the worker and
// the station's thread may both change it.
class PlantClaims {
  public:
    static constexpr char kFileName[] = "PLANT_CLAIMS.txt";

    explicit PlantClaims(QDir workdir) : workdir_(std::move(workdir)) {}

    QString path() const;
    // The entries in the order they were added; an unreadable file is an error.
    QList<PlantClaim> read(QString* error = nullptr) const;
    bool add(const PlantClaim& claim, QString* error = nullptr) const;
    // Removes the entry of `id` (true when there is none).
    bool drop(const QString& id, QString* error = nullptr) const;

  private:
    QList<PlantClaim> readLocked(QString* error) const;
    bool writeLocked(const QList<PlantClaim>& claims, QString* error) const;

    QDir workdir_;
};

}  // namespace dye
