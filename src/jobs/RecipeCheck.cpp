#include "RecipeCheck.h"

#include <QRegularExpression>

#include <cmath>

#include "core/AnsiText.h"
#include "settings/MachineSettings.h"

namespace dye {
namespace {

bool isValveCode(const QString& code, const MachineSettings& settings) {
    for (int valve = 1; valve <= MachineSettings::kValveCount; ++valve) {
        const QString known = settings.valveCode(valve).trimmed();
        if (!known.isEmpty() && known == code) return true;
    }
    return false;
}

// Why `text` cannot be stored in a field of `width` bytes ("" when it can).
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

}  // namespace

bool readWeight(const QString& text, double* value) {
    static const QRegularExpression plain(QStringLiteral("^[0-9]*([.,][0-9]*)?$"));
    QString t = text.trimmed();
    if (t.isEmpty() || !plain.match(t).hasMatch() || t == QStringLiteral(".") ||
        t == QStringLiteral(","))
        return false;
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const double v = t.toDouble(&ok);
    if (!ok || !std::isfinite(v)) return false;
    *value = v;
    return true;
}

QString recipeProblem(const JobRecord& job, const MachineSettings& settings) {
    if (job.OrderNo.trimmed().isEmpty())
        return QStringLiteral("No order number: type the order number first.");
    bool anyLine = false;
    for (int i = 0; i < JobRecord::kLines; ++i) {
        const QString code = job.Code[size_t(i)].trimmed();
        const QString weight = job.Weight[size_t(i)].trimmed();
        const int row = i + 1;
        if (code.isEmpty() && weight.isEmpty()) continue;
        if (code.isEmpty())
            return QStringLiteral("Row %1: the weight %2 has no code.").arg(row).arg(weight);
        if (!isValveCode(code, settings))
            return QStringLiteral("Row %1: %2 is not the code of any valve.").arg(row).arg(code);
        if (weight.isEmpty())
            return QStringLiteral("Row %1: the code %2 has no weight.").arg(row).arg(code);
        double grams = 0.0;
        if (!readWeight(weight, &grams) || grams <= 0.0)
            return QStringLiteral("Row %1: the weight %2 is not a number above 0.")
                .arg(row)
                .arg(weight);
        anyLine = true;
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
    const int type = int(settings.number(5));
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
