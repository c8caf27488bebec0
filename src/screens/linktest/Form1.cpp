#include "Form1.h"

#include "core/Scheduler.h"
#include "core/Val.h"
#include "files/language/Wording.h"
#include "link/Port.h"
#include "link/ReplyCheck.h"

namespace dye {

Form1::Form1(Scheduler& scheduler, PortFactory makePort) : makePort_(std::move(makePort)) {
    timer1_ =
        &scheduler.addTimer(QStringLiteral("Form1.Timer1"), 10, false, [this] { answerTick(); });
    Text1[0] = QStringLiteral("1000");
    Text1[1] = QStringLiteral("10");
    Text1[2] = QStringLiteral("2000");
    Text1[3] = QStringLiteral("10");
    Text1[4] = QStringLiteral("16");
    Label1[0] = QStringLiteral("起始D");
    Label1[1] = QStringLiteral("D數量");
    Label1[2] = QStringLiteral("起始D");
    Label1[3] = QStringLiteral("D數量");
    Label1[4] = QStringLiteral("32 or 16");
    Label1[5] = QStringLiteral("COM");
}

void Form1::applyLanguage(int language) {
    const auto w = [language](const char16_t* chinese, const char16_t* english) {
        return wordingIn(language, {chinese, english});
    };
    Caption = w(u"連線測試", u"Link test");
    Command1 = w(u"讀取", u"Read");
    Command2 = w(u"寫入", u"Write");
    Command3 = w(u"連線", u"Connect");
    Command4 = w(u"設定", u"Settings");
    Label1[0] = Label1[2] = w(u"起始D", u"First D");
    Label1[1] = Label1[3] = w(u"D數量", u"D count");
}

Form1::~Form1() {
    timer1_->setEnabled(false);
    timer1_->setHandler({});
}

void Form1::load() {
    Combo1Items.clear();
    for (int i = 1; i <= 15; ++i) Combo1Items << QString::number(i);
    timer1_->setEnabled(false);
    timer1_->setInterval(10);
}

void Form1::connectPort() {
    if (!port_) port_ = makePort_ ? makePort_() : nullptr;
    if (!port_) {
        appendLog(QStringLiteral("COM %1: no port available").arg(Combo1.trimmed()));
        return;
    }
    // A number typed into the combo that is not in the list is used as typed.
    if (!port_->open(Combo1.trimmed(), QStringLiteral("19200,E,7,1")))
        appendLog(
            QStringLiteral("COM %1: cannot open: %2").arg(Combo1.trimmed(), port_->errorString()));
    else
        appendLog(QStringLiteral("COM %1: open").arg(Combo1.trimmed()));
}

void Form1::clearAnswers() {
    answers_.fill(QString());
}

void Form1::send() {
    if (port_ && port_->isOpen()) port_->write(codec_.TxFrame);
    timer1_->setEnabled(true);
}

void Form1::readRegisters() {
    clearAnswers();
    codec_.BuildReadRequest(Text1[0].trimmed(), Text1[1].trimmed(), Text1[4].trimmed());
    readSent_ = true;
    send();
}

void Form1::writeRegisters() {
    clearAnswers();
    for (int i = 0; i < 10; ++i) codec_.WriteValueTable[size_t(i + 1)][0] = Text2[i];
    codec_.ReplyCount = 0;
    codec_.BuildWriteRequest(Text1[2].trimmed(), Text1[3].trimmed(), Text1[4].trimmed());
    readSent_ = false;
    send();
}

void Form1::openSettings() {
    if (openSettings_) openSettings_();
}

void Form1::answerTick() {
    ticks_ += 1;
    if (ticks_ < 11) return;  // the answer is given ten ticks
    if (port_ && port_->isOpen()) {
        const QByteArray reply = port_->readAll();
        answers_[0] = QString::fromLatin1(reply);
        appendLog(readableFrame(reply));
        const QString why = readSent_
                                ? readReplyProblem(reply, codec_.ReplyCount, codec_.ReplyWidth)
                                : writeReplyProblem(reply);
        appendLog(why.isEmpty() ? QStringLiteral("answer accepted")
                                : QStringLiteral("answer refused: ") + why);
        const int width = intWithin(Val(codec_.ReplyWidth));
        if (width == 16 || width == 32) {
            const int start = intWithin(Val(codec_.ReplyStartD));
            const int stride = width == 32 ? 2 : 1;
            const auto values =
                FrameCodec::DecodeReadReply(reply, codec_.ReplyCount, codec_.ReplyWidth);
            for (size_t i = 0; i < values.size(); ++i) {
                const QString value =
                    values[i] ? QString::number(*values[i]) : QStringLiteral("(missing)");
                appendLog(QStringLiteral("D%1   =   %2").arg(start + stride * int(i)).arg(value));
            }
        }
    }
    ticks_ = 0;
    timer1_->setEnabled(false);
}

}  // namespace dye
