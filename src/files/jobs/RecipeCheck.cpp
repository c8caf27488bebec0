#include "RecipeCheck.h"

#include <algorithm>

#include "core/AnsiText.h"
#include "core/WeightText.h"
#include "files/settings/MachineSettings.h"

namespace dye {
namespace {

bool isValveCode(const QString& code, const MachineSettings& settings) {
    for (int valve = 1; valve <= MachineSettings::kValveCount; ++valve) {
        const QString known = settings.valveCode(valve).trimmed();
        if (!known.isEmpty() && known == code) return true;
    }
    return false;
}

}  // namespace

QString fieldProblem(const QString& what, const QString& text, int width) {
    const QByteArray bytes = AnsiCodePage::encode(text);
    if (AnsiCodePage::decode(bytes) != text)
        return QStringLiteral("%1 \"%2\" holds a character the record files cannot store.")
            .arg(what, text);
    if (bytes.size() > width)
        return QStringLiteral("%1 \"%2\" is %3 bytes long; the field holds %4.")
            .arg(what, text, QString::number(bytes.size()), QString::number(width));
    return {};
}

QString lineProblem(int row, const QString& code, const QString& weight,
                    const MachineSettings& settings) {
    const QString c = code.trimmed();
    const QString w = weight.trimmed();
    if (c.isEmpty() && w.isEmpty()) return {};
    // One arg() call each, so that text from a record is never read as a
    // place marker.
    const QString n = QString::number(row);
    if (c.isEmpty())
        return QStringLiteral(
                   "row %1: the weight \"%2\" has no code; type the product's code "
                   "or clear the weight")
            .arg(n, w);
    if (!isValveCode(c, settings))
        return QStringLiteral("row %1: %2 is not the code of any valve of this machine").arg(n, c);
    if (w.isEmpty())
        return QStringLiteral("row %1: the code %2 has no weight; type its weight in grams")
            .arg(n, c);
    if (const QString why = weightProblem(w); !why.isEmpty())
        return QStringLiteral("row %1 (%2): the weight \"%3\" %4").arg(n, c, w, why);
    if (readWeight(w).value_or(0.0) > kLargestAmount)
        return QStringLiteral(
                   "row %1 (%2): the weight %3 is more than the %4 g a bucket can be "
                   "weighed with")
            .arg(n, c, w, QString::number(kLargestAmount));
    return {};
}

QString waterProblem(const QString& water) {
    const QString w = water.trimmed();
    // Blank, "0", "0.0": no water.
    if (std::all_of(w.begin(), w.end(), [](QChar ch) { return ch == u'0' || ch == u'.'; }) &&
        w.count(u'.') <= 1)
        return {};
    if (const QString why = weightProblem(w); !why.isEmpty())
        return QStringLiteral("the water \"%1\" %2").arg(w, why);
    if (readWeight(w).value_or(0.0) > kLargestAmount)
        return QStringLiteral("the water %1 is more than the %2 g a bucket can be weighed with")
            .arg(w, QString::number(kLargestAmount));
    return {};
}

QString recipeProblem(const JobRecord& job, const MachineSettings& settings) {
    if (job.OrderNo.trimmed().isEmpty())
        return QStringLiteral("No order number: type the order number first.");
    if (const QString why = waterProblem(job.WaterAmount); !why.isEmpty())
        return why.at(0).toUpper() + why.mid(1) + QLatin1Char('.');
    bool anyLine = false;
    for (int i = 0; i < JobRecord::kLines; ++i) {
        const QString why =
            lineProblem(i + 1, job.Code[size_t(i)], job.Weight[size_t(i)], settings);
        if (!why.isEmpty()) return why.at(0).toUpper() + why.mid(1) + QLatin1Char('.');
        anyLine = anyLine || !job.Code[size_t(i)].trimmed().isEmpty();
    }
    if (!anyLine) return QStringLiteral("The recipe has no lines: type a code and its weight.");
    return {};
}

QString unstorableText(const JobRecord& job) {
    const struct {
        QString what;
        const QString& text;
        int width;
    } fields[] = {{QStringLiteral("The order number"), job.OrderNo, JobRecord::kOrderNoWidth},
                  {QStringLiteral("The bucket number"), job.BucketNo, 10},
                  {QStringLiteral("The water amount"), job.WaterAmount, 10}};
    for (const auto& f : fields)
        if (QString why = fieldProblem(f.what, f.text.trimmed(), f.width); !why.isEmpty())
            return why;
    for (int i = 0; i < JobRecord::kLines; ++i) {
        const QString row = QStringLiteral("Row %1: the").arg(i + 1);
        if (QString why = fieldProblem(row + QStringLiteral(" code"), job.Code[size_t(i)].trimmed(),
                                       JobRecord::kCodeWidth);
            !why.isEmpty())
            return why;
        if (QString why = fieldProblem(row + QStringLiteral(" weight"),
                                       job.Weight[size_t(i)].trimmed(), JobRecord::kWeightWidth);
            !why.isEmpty())
            return why;
    }
    return {};
}

QString bucketProblem(const QString& bucket, const MachineSettings& settings) {
    const QString name = bucket.trimmed();
    const int type = settings.machineType();
    if (type == 1 || type == 3 || type == 4) {
        if (name.isEmpty())
            return QStringLiteral(
                       "No bucket: machine type %1 moves the bucket to the place its number names; "
                       "choose the place from the bucket list.")
                .arg(type);
        for (int slot = 1; slot <= MachineSettings::kTeachSlotCount; ++slot)
            if (settings.teachSlot(slot).name.trimmed() == name) return {};
        return QStringLiteral(
                   "The bucket %1 is not a place of this machine: choose the place from "
                   "the bucket list.")
            .arg(name);
    }
    if (name.isEmpty()) return QStringLiteral("No bucket number: type the bucket number first.");
    return {};
}

}  // namespace dye
