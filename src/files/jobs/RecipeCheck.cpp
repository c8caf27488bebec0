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

// What keeps a weight from being one, as the end of a sentence that names it.
QString weightFaultText(WeightFault fault, int language) {
    switch (fault) {
        case WeightFault::None:
            return {};
        case WeightFault::Blank:
            return wordingIn(language,
                             {u"是空白；請輸入重量（克）", u"is blank; type the weight in grams"});
        case WeightFault::Comma:
            return wordingIn(language,
                             {u"含有逗號；小數請用小數點",
                              u"has a comma; write the weight with a point for decimals"});
        case WeightFault::NotANumber:
            return wordingIn(language, {u"不是單純的數字；請以數字寫克數，小數用小數點",
                                        u"is not a plain number; write the grams in digits with a "
                                        u"point for decimals"});
        case WeightFault::NotAboveZero:
            return wordingIn(language, {u"不是大於 0 的數字", u"is not a number above 0"});
    }
    return {};
}

}  // namespace

QString asSentence(const QString& why, int language) {
    return why.at(0).toUpper() + why.mid(1) + wordingIn(language, {u"。", u"."});
}

QString fieldProblem(const QString& what, const QString& text, int width, int language) {
    const QByteArray bytes = AnsiCodePage::encode(text);
    if (AnsiCodePage::decode(bytes) != text)
        return wordingIn(language, {u"%1「%2」含有紀錄檔無法儲存的字元。",
                                    u"%1 \"%2\" holds a character the record files cannot store."})
            .arg(what, text);
    if (bytes.size() > width)
        return wordingIn(language, {u"%1「%2」有 %3 個位元組；此欄位最多 %4 個。",
                                    u"%1 \"%2\" is %3 bytes long; the field holds %4."})
            .arg(what, text, QString::number(bytes.size()), QString::number(width));
    return {};
}

QString lineProblem(int row, const QString& code, const QString& weight,
                    const MachineSettings& settings, int language) {
    const QString c = code.trimmed();
    const QString w = weight.trimmed();
    if (c.isEmpty() && w.isEmpty()) return {};
    // One arg() call each, so that text from a record is never read as a
    // place marker.
    const QString n = QString::number(row);
    const auto say = [language](const Wording& text) { return wordingIn(language, text); };
    if (c.isEmpty())
        return say({u"第 %1 列：重量「%2」沒有代碼；請輸入染料的代碼或清除重量",
                    u"row %1: the weight \"%2\" has no code; type the product's code or clear "
                    u"the weight"})
            .arg(n, w);
    if (!isValveCode(c, settings))
        return say({u"第 %1 列：%2 不是本機任何閥的代碼",
                    u"row %1: %2 is not the code of any valve of this machine"})
            .arg(n, c);
    if (w.isEmpty())
        return say({u"第 %1 列：代碼 %2 沒有重量；請輸入重量（克）",
                    u"row %1: the code %2 has no weight; type its weight in grams"})
            .arg(n, c);
    if (const WeightFault fault = weightFault(w); fault != WeightFault::None)
        return say({u"第 %1 列（%2）：重量「%3」%4", u"row %1 (%2): the weight \"%3\" %4"})
            .arg(n, c, w, weightFaultText(fault, language));
    if (readWeight(w).value_or(0.0) > kLargestAmount)
        return say({u"第 %1 列（%2）：重量 %3 超過一桶能秤的 %4 g",
                    u"row %1 (%2): the weight %3 is more than the %4 g a bucket can be weighed "
                    u"with"})
            .arg(n, c, w, QString::number(kLargestAmount));
    return {};
}

QString waterProblem(const QString& water, int language) {
    const QString w = water.trimmed();
    // Blank, "0", "0.0": no water.
    if (std::all_of(w.begin(), w.end(), [](QChar ch) { return ch == u'0' || ch == u'.'; }) &&
        w.count(u'.') <= 1)
        return {};
    if (const WeightFault fault = weightFault(w); fault != WeightFault::None)
        return wordingIn(language, {u"水量「%1」%2", u"the water \"%1\" %2"})
            .arg(w, weightFaultText(fault, language));
    if (readWeight(w).value_or(0.0) > kLargestAmount)
        return wordingIn(language, {u"水量 %1 超過一桶能秤的 %2 g",
                                    u"the water %1 is more than the %2 g a bucket can be "
                                    u"weighed with"})
            .arg(w, QString::number(kLargestAmount));
    return {};
}

QString recipeProblem(const JobRecord& job, const MachineSettings& settings, int language) {
    if (job.OrderNo.trimmed().isEmpty())
        return wordingIn(language, {u"沒有單號：請先輸入單號。",
                                    u"No order number: type the order number first."});
    if (const QString why = waterProblem(job.WaterAmount, language); !why.isEmpty())
        return asSentence(why, language);
    bool anyLine = false;
    for (int i = 0; i < JobRecord::kLines; ++i) {
        const QString why =
            lineProblem(i + 1, job.Code[size_t(i)], job.Weight[size_t(i)], settings, language);
        if (!why.isEmpty()) return asSentence(why, language);
        anyLine = anyLine || !job.Code[size_t(i)].trimmed().isEmpty();
    }
    if (!anyLine)
        return wordingIn(language, {u"配方沒有任何一列：請輸入代碼與重量。",
                                    u"The recipe has no lines: type a code and its weight."});
    return {};
}

QString unstorableText(const JobRecord& job, int language) {
    const struct {
        Wording what;
        const QString& text;
        int width;
    } fields[] = {{{u"單號", u"The order number"}, job.OrderNo, JobRecord::kOrderNoWidth},
                  {{u"桶號", u"The bucket number"}, job.BucketNo, 10},
                  {{u"水量", u"The water amount"}, job.WaterAmount, 10}};
    for (const auto& f : fields)
        if (QString why =
                fieldProblem(wordingIn(language, f.what), f.text.trimmed(), f.width, language);
            !why.isEmpty())
            return why;
    for (int i = 0; i < JobRecord::kLines; ++i) {
        const QString code =
            wordingIn(language, {u"第 %1 列的代碼", u"Row %1: the code"}).arg(i + 1);
        if (QString why =
                fieldProblem(code, job.Code[size_t(i)].trimmed(), JobRecord::kCodeWidth, language);
            !why.isEmpty())
            return why;
        const QString weight =
            wordingIn(language, {u"第 %1 列的重量", u"Row %1: the weight"}).arg(i + 1);
        if (QString why = fieldProblem(weight, job.Weight[size_t(i)].trimmed(),
                                       JobRecord::kWeightWidth, language);
            !why.isEmpty())
            return why;
    }
    return {};
}

QString bucketProblem(const QString& bucket, const MachineSettings& settings, int language) {
    const QString name = bucket.trimmed();
    const int type = settings.machineType();
    if (type == 1 || type == 3 || type == 4) {
        if (name.isEmpty())
            return wordingIn(language,
                             {u"沒有桶號：機型 %1 會把桶子移到桶號所指的位置；請從桶號清單選擇"
                              u"位置。",
                              u"No bucket: machine type %1 moves the bucket to the place its "
                              u"number names; choose the place from the bucket list."})
                .arg(type);
        for (int slot = 1; slot <= MachineSettings::kTeachSlotCount; ++slot)
            if (settings.teachSlot(slot).name.trimmed() == name) return {};
        return wordingIn(language, {u"桶號 %1 不是本機的位置：請從桶號清單選擇位置。",
                                    u"The bucket %1 is not a place of this machine: choose the "
                                    u"place from the bucket list."})
            .arg(name);
    }
    if (name.isEmpty())
        return wordingIn(language, {u"沒有桶號：請先輸入桶號。",
                                    u"No bucket number: type the bucket number first."});
    return {};
}

}  // namespace dye
