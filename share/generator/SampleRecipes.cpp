// A few saved recipes (QUICK_A.txt) for the sample valve table, so that a new
// station has something to queue and run.
#include <QDateTime>
#include <QDir>

#include <array>

#include "ShareFiles.h"
#include "core/OleDate.h"
#include "files/jobs/JobFile.h"

namespace dye::share {
namespace {

constexpr int kLines = JobRecord::kLines;

struct Line {
    const char16_t* code = nullptr;
    const char16_t* weight = nullptr;
};
struct Recipe {
    const char16_t* orderNo;
    const char16_t* bucketNo;
    const char16_t* water;
    std::array<Line, kLines> lines;
};

// Codes are those of the sample valve table; weights and water in grams.
// The two "R20240506-0001" recipes are variants A and B of one order, as the
// scan intake looks them up (14 characters of order, one of variant).
// clang-format off
const std::array kRecipes{
    Recipe{u"DEMO-0001", u"1", u"5000",
           {Line{u"SODA", u"250"}, Line{u"HAC", u"80"}, Line{u"LEVEL", u"35.5"}}},
    Recipe{u"DEMO-0002", u"2", u"8000",
           {Line{u"SCOUR", u"120"}, Line{u"NAOH", u"400"}, Line{u"H2O2", u"300"},
            Line{u"STAB", u"60"}, Line{u"DEFOAM", u"12"}}},
    Recipe{u"範例單號-003", u"3", u"3000",
           {Line{u"SOAP", u"90"}, Line{u"FIX", u"45"}}},
    Recipe{u"R20240506-0001A", u"4", u"6000",
           {Line{u"SOFT", u"150"}, Line{u"HAC", u"20"}}},
    Recipe{u"R20240506-0001B", u"4", u"0",
           {Line{u"SOFT", u"180"}, Line{u"ANTICR", u"60"}, Line{u"HAC", u"20"}}},
};

// The queue a new station starts with: a job with Chinese codes and gaps
// between its lines, a five-line job, and a single product.
const std::array kQueue{
    Recipe{u"範例-A01", u"1", u"12000",
           {Line{u"還原劑", u"120"}, Line{}, Line{u"SODA", u"300"}, Line{}, Line{}, Line{},
            Line{u"增白劑", u"25"}}},
    Recipe{u"DEMO-0002", u"2", u"15000",
           {Line{u"SCOUR", u"120"}, Line{u"NAOH", u"400"}, Line{u"H2O2", u"300"},
            Line{u"STAB", u"60"}, Line{u"DEFOAM", u"12"}}},
    Recipe{u"<<<single>>>", u"3", u"", {Line{u"HAC", u"50"}}},
};
// clang-format on

QString text(const char16_t* s) {
    return s ? QString::fromUtf16(s) : QString();
}

JobRecord recordOf(const Recipe& recipe, double savedAt) {
    JobRecord job;  // tags and spare area blank
    job.OrderNo = text(recipe.orderNo);
    job.BucketNo = text(recipe.bucketNo);
    job.WaterAmount = text(recipe.water);
    for (int i = 0; i < kLines; ++i) {
        job.Code[size_t(i)] = text(recipe.lines[size_t(i)].code);
        job.Weight[size_t(i)] = text(recipe.lines[size_t(i)].weight);
    }
    job.QueuedAt = savedAt;
    return job;
}

template <size_t N>
bool writeRecords(const QString& path, const std::array<Recipe, N>& recipes, QString* error) {
    if (!startFile(path, error)) return false;
    // A fixed date keeps the shipped files the same from build to build.
    const double savedAt = toOleDate(QDateTime(QDate(2024, 5, 6), QTime(8, 30)));
    JobFile file(path, path + QStringLiteral(".scratch"));
    for (const Recipe& recipe : recipes) {
        if (!file.append(recordOf(recipe, savedAt))) {
            *error = file.errorString();
            return false;
        }
    }
    return true;
}

}  // namespace

bool writeSampleRecipes(const QString& dir, QString* error) {
    return writeRecords(QDir(dir).filePath(QStringLiteral("QUICK_A.txt")), kRecipes, error);
}

bool writeSampleQueue(const QString& dir, QString* error) {
    return writeRecords(QDir(dir).filePath(QStringLiteral("START_DISPEN.txt")), kQueue, error);
}

}  // namespace dye::share
