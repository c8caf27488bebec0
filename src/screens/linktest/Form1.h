#pragma once

#include <QStringList>

#include <functional>
#include <memory>

#include "core/ControlArray.h"
#include "link/FrameCodec.h"

namespace dye {

class Port;
class Scheduler;
class Timer;

// The link test screen (LinkTestForm): a commissioning screen with a port and
// a codec state of its own, to read and write runs of D registers by hand and
// see the raw answers, each followed by whether it is accepted or why not.
class Form1 {
  public:
    using PortFactory = std::function<std::unique_ptr<Port>()>;

    Form1(Scheduler& scheduler, PortFactory makePort);
    ~Form1();

    // Controls, with their design texts.
    QString Caption = QStringLiteral("連線測試");
    QString Combo1 = QStringLiteral("5");
    QStringList Combo1Items;
    Captions<7>
        Text1;  // 0 read start, 1 read count, 2 write start, 3 write count, 4 width, 6 output log
    Captions<6> Label1;
    Captions<10> Text2;  // values to write
    QString Command1 = QStringLiteral("讀取");
    QString Command2 = QStringLiteral("寫入");
    QString Command3 = QStringLiteral("連線");
    QString Command4 = QStringLiteral("設定");  // opens the settings form

    // The window title and captions in `language` (settings field 9: 0
    // Traditional Chinese, 1 English, 2 Simplified Chinese).
    void applyLanguage(int language);
    void load();
    void connectPort();     // connect
    void readRegisters();   // read
    void writeRegisters();  // write
    void openSettings();    // open the settings form
    void answerTick();      // answer timer, 10 ms

    void setOpenSettingsForm(std::function<void()> fn) { openSettings_ = std::move(fn); }
    Timer& answerTimer() { return *timer1_; }
    Port* port() const { return port_.get(); }

  private:
    void clearAnswers();
    void appendLog(const QString& line) { Text1[6] += line + QLatin1Char('\n'); }
    void send();

    FrameCodec codec_;
    PortFactory makePort_;
    std::unique_ptr<Port> port_;
    Timer* timer1_;
    int ticks_ = 0;
    bool readSent_ = false;  // the last request was a read (else a write)
    std::array<QString, 256> answers_;
    std::function<void()> openSettings_;
};

}  // namespace dye
