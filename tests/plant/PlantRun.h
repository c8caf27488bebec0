#pragma once

#include <memory>

#include "TestFiles.h"
#include "plant/PlantData.h"
#include "plant/PlantDb.h"
#include "run/RunFixture.h"

namespace dye::test {

// A station on the simulator with an embedded Firebird plant database: the
// valves RED, BLUE and GREEN, machine M1, the given profile.
class PlantRun : public RunFixture {
  protected:
    std::unique_ptr<PlantDb> plant;

    void makePlant(const QString& rows) {
        plant = std::make_unique<PlantDb>(dir.filePath(QStringLiteral("plant.fdb")));
        ASSERT_TRUE(plant->create(rows));
        plant->close();
    }
    void startPlant(const QString& profile, std::map<int, QString> fields = {}) {
        valve(1, "RED", "40");
        valve(2, "BLUE", "20");
        valve(3, "GREEN", "20");
        fields.try_emplace(13, "SYSDBA");
        fields.try_emplace(14, "s3cret");
        fields.try_emplace(15, "firebird:plant.fdb");
        fields.try_emplace(16, profile);
        fields.try_emplace(21, "M1");
        startRun(std::move(fields));
    }
    // The drop folder "in" of the day's drop file, holding `records`.
    void dropFile(const QByteArray& records) {
        ASSERT_TRUE(QDir(dir.path()).mkpath("in"));
        ASSERT_TRUE(writeFile(dir.filePath("in/G202612.666"), records));
    }
    DailyRecord lastRecord() { return records().value(records().size() - 1); }
    QStringList rows(const QString& sql) {
        const QStringList out = plant->rows(sql);
        plant->close();
        return out;
    }
    // The event log holds the password nowhere.
    void expectNoPassword() {
        for (const QString& line : logTexts()) EXPECT_FALSE(line.contains("s3cret"));
        EXPECT_FALSE(form3().Text4.contains("s3cret"));
    }
};

}  // namespace dye::test
