// The settings form's fields, its access code and the balance zeroing, on a
// station in virtual time; its slot click is PositionScreenTest's.
#include "app/StationFixture.h"

#include "TestFiles.h"
#include "files/language/ToSimplified.h"
#include "screens/settings/AccessCode.h"
#include "screens/settings/SettingsEditor.h"

using namespace dye;
using dye::test::fileBytes;
using dye::test::numberedRecords;
using dye::test::StationFixture;
using dye::test::withRecord;

class SettingsEditorTest : public StationFixture {
  protected:
    SettingsEditor& editor() { return station->settingsEditor(); }
    HeadlessDialogs& dialogs() { return *station->headlessDialogs(); }
    Form2& form() { return state().form2; }
    QString path(const char* name) { return QDir(dir.path()).filePath(QLatin1String(name)); }
};

TEST_F(SettingsEditorTest, EnterSavesExactlyTheFieldsRecordAndOnlyThenTheStationReadsIt) {
    start({});
    // Files written by another program, every record different.
    const QByteArray settings = numberedRecords(38, "r", '.');
    const QByteArray valves = numberedRecords(96, "r", '.');
    ASSERT_TRUE(dye::test::writeFile(path(kSettingsFileName), settings));
    ASSERT_TRUE(dye::test::writeFile(path(kValveTableFileName), valves));
    form().Editable = true;

    // Settings field 6 (record 7), trimmed.
    ASSERT_TRUE(editor().saveField(6, QStringLiteral(" 2500 ")));
    EXPECT_EQ(fileBytes(path(kSettingsFileName)), withRecord(settings, 7, "2500"));
    EXPECT_EQ(state().settings.Text1(6), "2500");
    EXPECT_EQ(state().settings.number(6), 2500);

    // The rate of valve 3: valve table field 26, record 27.
    ASSERT_TRUE(editor().saveValveTableField(26, QStringLiteral("12.5")));
    EXPECT_EQ(fileBytes(path(kValveTableFileName)), withRecord(valves, 27, "12.5"));
    EXPECT_EQ(state().settings.valveRate(3), 12.5);
}

// A value out of its range is refused with the field and its range named,
// and neither the file nor the station's settings change; a machine type
// typed is checked with its own ranges.
TEST_F(SettingsEditorTest, ValuesOutOfTheirRangeAreRefusedWhenTyped) {
    start({{9, QStringLiteral("1")}});
    form().Editable = true;
    const QByteArray settings = fileBytes(path(kSettingsFileName));
    const QByteArray valves = fileBytes(path(kValveTableFileName));
    const struct {
        bool valveTable;
        int field;
        const char* text;
        const char* named;
    } refused[] = {
        // One of each file; the ranges themselves are SettingRangesTest's.
        {false, 7, "1e9", "setting 7 (metering tolerance) \"1e9\" is not 0.01 to 20."},
        {true, 24, "0", "the rate of valve 1 \"0\" is not 0.001 to 1000."},
    };
    for (const auto& r : refused) {
        const QString text = QString::fromLatin1(r.text);
        EXPECT_FALSE(r.valveTable ? editor().saveValveTableField(r.field, text)
                                  : editor().saveField(r.field, text));
        EXPECT_TRUE(lastMessage().contains(QString::fromLatin1(r.named)))
            << lastMessage().toStdString();
        EXPECT_TRUE(lastMessage().contains(QStringLiteral("not saved")));
    }
    EXPECT_EQ(fileBytes(path(kSettingsFileName)), settings);
    EXPECT_EQ(fileBytes(path(kValveTableFileName)), valves);
    EXPECT_EQ(state().settings.Text1(7), "2");

    // Type 2 reads the bucket's largest weight: blank is refused there.
    ASSERT_TRUE(editor().saveField(5, QStringLiteral("2")));
    EXPECT_FALSE(editor().saveField(6, QString()));
    EXPECT_TRUE(lastMessage().contains("setting 6 (largest bucket weight) is blank"));
    EXPECT_TRUE(editor().saveField(6, QStringLiteral("30000")));
}

// The teach slots as typed or spread stay on the screen; the run and the
// moves read the saved table, which only "座標存檔" changes. The position
// screen's save in between neither loses nor writes them.
TEST_F(SettingsEditorTest, TeachEditsAndSpreadingStayOnTheScreenUntilSaved) {
    start({{9, QStringLiteral("1")}});
    form().Editable = true;
    MachineSettings& s = state().settings;
    s.setTeachSlot(1, {"100", "50", "A1", ""});
    s.setTeachSlot(2, {"9", "9", "B2", ""});
    s.setTeachSlot(25, {"1000", "70", "Z25", ""});
    s.setTeachSlot(26, {"5", "5", "OUT", ""});
    const MachineSettings saved = s;

    ASSERT_TRUE(editor().editTeachField(25 + 4, QStringLiteral(" 321 ")));
    editor().spreadSlots();
    // A 24th of 900 is 37.5; each slot is cut before the next adds to it.
    EXPECT_EQ(form().Text2[1], "137");
    EXPECT_EQ(form().Text2[23], "951");
    EXPECT_EQ(form().Text2[25 + 4], "50");  // the spread sets every Z to slot 1's
    EXPECT_EQ(form().Text2[50 + 1], "B2");
    for (int k = 1; k <= 26; ++k) EXPECT_EQ(s.teachSlot(k), saved.teachSlot(k)) << k;

    // The gantry is not sent to a slot whose shown position is not saved.
    ASSERT_TRUE(station->scheduler.advanceUntil([&] { return !homingRunning(state()); }, 60000));
    passes(2);
    form().Check1 = true;
    editor().slotClicked(1);
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("not saved"))) << lastMessage().toStdString();
    EXPECT_EQ(state().link.RobotCheckState, 0);

    ASSERT_TRUE(station->positionScreen().saveSlots());
    EXPECT_EQ(s.teachSlot(2), saved.teachSlot(2));
    EXPECT_EQ(form().Text2[1], "137");

    ASSERT_TRUE(editor().saveSlots());
    EXPECT_EQ(s.teachSlot(2), (TeachSlot{"137", "50", "B2", ""}));
    EXPECT_EQ(s.teachSlot(25), (TeachSlot{"1000", "50", "Z25", ""}));
    EXPECT_EQ(s.teachSlot(26), saved.teachSlot(26));
    EXPECT_FALSE(form().Text2Edited.any());
    MachineSettings reread;
    ASSERT_TRUE(loadTeachSlots(QDir(dir.path()), reread));
    for (int k = 1; k <= 25; ++k) EXPECT_EQ(reread.teachSlot(k), s.teachSlot(k)) << k;
}

TEST_F(SettingsEditorTest, ReadOnlyFormAndUnwritableFileChangeNothingAndSayWhy) {
    start({{6, QStringLiteral("100")}, {9, QStringLiteral("1")}});
    const QByteArray before = fileBytes(path(kSettingsFileName));
    EXPECT_FALSE(editor().saveField(6, QStringLiteral("9")));
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("password")));
    EXPECT_FALSE(editor().saveValveTableField(30, QStringLiteral("9")));
    EXPECT_FALSE(editor().saveSlots());
    EXPECT_EQ(fileBytes(path(kSettingsFileName)), before);
    EXPECT_EQ(state().settings.Text1(6), "100");

    // The file cannot be written (a folder stands in its place).
    form().Editable = true;
    QFile::remove(path(kValveTableFileName));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QLatin1String(kValveTableFileName)));
    EXPECT_FALSE(editor().saveValveTableField(30, QStringLiteral("9")));
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("not saved")));
    EXPECT_EQ(state().settings.Text4(30), "");
}

TEST_F(SettingsEditorTest, StartUpSettingsSaySoAndTheLanguageShowsAtOnce) {
    loadMainScreen = true;
    start({});
    form().Editable = true;
    const int interval = state().timers.scan->interval();
    ASSERT_TRUE(editor().saveField(1, QStringLiteral("120")));
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("下次啟動程式時生效")));
    EXPECT_EQ(state().timers.scan->interval(), interval);
    const qsizetype messages = dialogs().messages().size();
    ASSERT_TRUE(editor().saveField(7, QStringLiteral("3")));
    EXPECT_EQ(dialogs().messages().size(), messages);  // acts at once: nothing to say

    ASSERT_TRUE(editor().saveField(9, QStringLiteral("1")));
    EXPECT_EQ(state().form3.Command8.Caption, station->lang().text(1, 1));
    EXPECT_NE(station->lang().text(1, 1), station->lang().text(0, 1));

    // A text saved in the language editor shows at once too.
    LanguageEditor& texts = station->languageEditor();
    texts.open();
    ASSERT_TRUE(texts.saveText(LangText::kPerLanguage + 1, QStringLiteral("HALT")));
    EXPECT_EQ(state().form3.Command8.Caption, "HALT");
}

TEST_F(SettingsEditorTest, TheAccessCodeIsTheWholeAnswerAndIsNotAskedDuringATransfer) {
    loadMainScreen = true;
    start({});
    MainScreen& screen = station->mainScreen();
    dialogs().scriptInput({QStringLiteral("60817 "), QString(), QStringLiteral("60817")});
    const qsizetype before = dialogs().messages().size();
    screen.unlockSettings();  // trailing blank
    EXPECT_FALSE(form().Visible);
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("密碼錯誤")));
    screen.unlockSettings();  // Cancel: no message
    EXPECT_FALSE(form().Visible);
    EXPECT_EQ(dialogs().messages().size(), before + 1);
    screen.unlockSettings();
    EXPECT_TRUE(form().Visible);
    EXPECT_TRUE(form().Editable);

    // "設定" opens the form read-only; the code given on it makes it editable.
    screen.showSettings();
    EXPECT_FALSE(form().Editable);
    dialogs().scriptInput({QStringLiteral("6081"), QStringLiteral("60817")});
    EXPECT_FALSE(editor().unlock());
    EXPECT_TRUE(editor().unlock());
    EXPECT_TRUE(form().Editable);
    station->manual().showMainScreen();
    EXPECT_FALSE(form().Editable);

    // During a transfer nothing is asked and nothing opens.
    form().Visible = false;
    state().TransferActive.claim();
    dialogs().scriptInput({QStringLiteral("60817"), QStringLiteral("60817")});
    screen.unlockSettings();
    screen.unlockPositions();
    EXPECT_FALSE(form().Visible);
    EXPECT_FALSE(state().form9.Visible);
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("機台上有工作")));
    state().TransferActive.release();
    // A job on the main screen before its run owns the machine (its
    // pre-wash) is on the machine just as well.
    CurrentJob preWash;
    preWash.identity.order = QStringLiteral("PRE-WASH");
    state().job.load(preWash);
    dialogs().scriptInput({QStringLiteral("60817")});
    screen.unlockSettings();
    EXPECT_FALSE(form().Visible);
    state().job.clear();
    screen.unlockPositions();
    EXPECT_TRUE(state().form9.Visible);
}

TEST_F(SettingsEditorTest, ABalanceIsZeroedOnlyWhileItsStationIsIdleAndNoJobIsOn) {
    start({{9, QStringLiteral("1")}});
    RegisterImage& image = state().link.image;
    state().station[1].StationStep = 3;
    editor().zeroBalance(0);
    EXPECT_EQ(image.get(989), 0);
    EXPECT_TRUE(lastMessage().contains(QStringLiteral("station 1 is metering")));
    editor().zeroBalance(2);  // the other station is free
    EXPECT_EQ(image.get(993), 10);

    state().station[1].StationStep = 0;
    CurrentJob onMachine;
    onMachine.identity.order = QStringLiteral("ORDER-1");
    state().job.load(onMachine);
    editor().zeroBalance(0);
    EXPECT_EQ(image.get(989), 0);
    state().job.clear();
    editor().zeroBalance(0);
    EXPECT_EQ(image.get(989), 10);
}

// The settings and position screens refuse in the station's language.
TEST_F(SettingsEditorTest, RefusalsFollowTheStationsLanguage) {
    start({{5, QStringLiteral("2")}});
    const auto in = [](int language, const char* traditional) {
        const QString text = QString::fromUtf8(traditional);
        return language == 0 ? text : ToSimplified(text);
    };
    for (int language : {0, 2}) {
        state().settings.setText1(9, QString::number(language));
        EXPECT_FALSE(editor().saveField(6, QStringLiteral("9")));
        EXPECT_EQ(lastMessage(), in(language, "設定為唯讀：請先輸入密碼。"));
        station->positionScreen().spreadSlots();
        EXPECT_EQ(lastMessage(), in(language, "座標平均只用於機型 1 和 3；本機是機型 2。"));
    }
}
