#include "ScanCycle.h"

#include "core/Dialogs.h"
#include "core/NumberText.h"
#include "core/Scheduler.h"
#include "core/Val.h"
#include "link/FrameCodec.h"
#include "link/Port.h"
#include "link/ReplyCheck.h"
#include "model/StationState.h"

namespace dye {
namespace {

constexpr qint32 kOverload = 200000;

QString valueText(qint32 v) {
    return QString::number(v);
}

// Register value to the decimal text of a write row; RegNoValue sends 0.
QString rowText(qint32 v) {
    return v == RegisterImage::RegNoValue ? QStringLiteral("0") : valueText(v);
}

}  // namespace

ScanCycle::ScanCycle(StationState& state, FrameCodec& codec, Dialogs& dialogs)
    : s_(state), codec_(codec), dialogs_(dialogs) {}

void ScanCycle::tick() {
    ++ticks_;
    showDiagnostics();
    ++ScanStep;
    const int type = s_.machineType();
    switch (ScanStep) {
        case 1:
            startRead(QStringLiteral("190"), QStringLiteral("4"), QStringLiteral("32"));
            break;
        case 2:
            storeReply();
            showWeights();
            break;
        case 3:
            startRead(QStringLiteral("274"), QStringLiteral("5"), QStringLiteral("16"));
            break;
        case 4:
            storeReply();
            s_.form2.Label2[1] = valueText(s_.image.get(274));
            s_.form2.Label2[3] = valueText(s_.image.get(275));
            s_.form2.Label3[10] = valueText(s_.image.get(276));
            s_.form2.Label3[11] = valueText(s_.image.get(277));
            break;
        case 5:
            if (type == 4 || type == 5)
                runWriteBlocks(5);
            else
                startRead(QStringLiteral("297"), QStringLiteral("13"), QStringLiteral("16"));
            break;
        case 7:
            if (type == 4 || type == 5) {
                runWriteBlocks(7);
            } else {
                storeReply();
                // D301..D309 and D297, on the position screen and the settings form alike.
                for (int i = 0; i < 9; ++i) {
                    s_.form9.Label3[i] = valueText(s_.image.get(301 + i));
                    s_.form2.Label3[i] = s_.form9.Label3[i];
                }
                s_.form9.Label3[9] = valueText(s_.image.get(297));
                s_.form2.Label3[9] = s_.form9.Label3[9];
            }
            break;
        case 12:
            if (type != 5 && s_.settings.Text1(11).isEmpty())
                s_.settings.setText1(11, QStringLiteral("5"));
            runWriteBlocks(12);
            break;
        case 15:
            robotCheck();
            break;
        case 16:
            ScanStep = 0;
            break;
        default:
            if (ScanStep >= 8 && ScanStep <= 14)
                runWriteBlocks(ScanStep);
            else if (ScanStep > 16)
                ScanStep = 0;
            break;
    }
}

void ScanCycle::showDiagnostics() {
    s_.form3.Label21 = QStringLiteral("%1 === %2 === %3-%4-%5")
                           .arg(s_.station[1].StationStep)
                           .arg(s_.station[2].StationStep)
                           .arg(ScanStep)
                           .arg(LatchedValues[0])
                           .arg(LatchedValues[7]);
    s_.form11.Label3 = s_.form3.Label21;
}

void ScanCycle::send() {
    if (!port_ || !port_->isOpen()) return;
    port_->write(codec_.TxFrame);
    if (sent_) sent_(codec_.TxFrame);
}

void ScanCycle::startRead(const QString& start, const QString& count, const QString& width) {
    if (port_) port_->clearInput();
    ReplyFields.fill(QString());
    codec_.BuildReadRequest(start, count, width);
    send();
}

void ScanCycle::storeReply() {
    const QByteArray reply = (port_ && port_->isOpen()) ? port_->readAll() : QByteArray();
    ReplyFields[0] = QString::fromLatin1(reply);
    if (!replyIsWhole(reply, codec_.ReplyCount, codec_.ReplyWidth)) return;
    const int start = int(Val(codec_.ReplyStartD));
    const int stride = Val(codec_.ReplyWidth) == 32 ? 2 : 1;
    const auto values = FrameCodec::DecodeReadReply(reply, codec_.ReplyCount, codec_.ReplyWidth);
    for (size_t i = 0; i < values.size(); ++i) {
        if (!values[i]) continue;  // missing from a short reply: the slot keeps its value
        s_.image.set(start + stride * int(i), *values[i]);
        if (i + 1 < ReplyFields.size()) ReplyFields[i + 1] = QString::number(*values[i], 16);
    }
}

void ScanCycle::showWeights() {
    // A reading of 200000 or more (overload, or no fresh value) leaves the
    // caption as it was; the sign and the scaling apply to a fresh reading only.
    struct Balance {
        int reg, factorField, weightLabel, signLabel;
    };
    const bool type5 = s_.machineType() == 5;
    for (const Balance& b : {Balance{190, 34, 0, 1}, Balance{192, 35, 2, 3}}) {
        const qint32 raw = s_.image.get(b.reg);
        if (raw >= kOverload) continue;
        double shown = s_.settings.Text1(b.factorField).isEmpty()
                           ? double(raw)
                           : raw * s_.settings.number(b.factorField);
        if (s_.form2.Label2[b.signLabel] == QStringLiteral("43")) shown = -shown;
        if (type5 && b.weightLabel == 2) shown /= 10.0;
        s_.form2.Label2[b.weightLabel] = numberText(shown);
    }
}

void ScanCycle::runWriteBlocks(int step) {
    const auto blocks = scanWriteBlocks(s_.machineType(), s_.settings.Text1(16),
                                        valvesPerStationSetting(s_.settings.Text1(11)));
    for (const WriteBlock& b : blocks) {
        if (b.step != step) continue;
        if (b.latched)
            writeLatchedBlock(b.start);
        else
            writeBlock(b.start, b.count);
        return;  // one frame per tick
    }
}

void ScanCycle::writeBlock(int start, int count) {
    WritePending = 0;
    if (port_) port_->clearInput();
    for (auto& row : codec_.WriteValueTable) row[0] = QStringLiteral("0");
    for (int j = 0; j < count && j + 1 < int(codec_.WriteValueTable.size()); ++j) {
        const qint32 v = s_.image.take(start + j);
        if (v == 0) continue;
        WritePending = 1;
        codec_.WriteValueTable[size_t(j + 1)][0] = rowText(v);
    }
    if (WritePending == 1) sendWrite(start, count);
}

void ScanCycle::writeLatchedBlock(int start) {
    WritePending = 0;
    if (port_) port_->clearInput();
    for (auto& row : codec_.WriteValueTable) row[0] = QStringLiteral("0");
    for (int j = 0; j < 10; ++j) {
        const qint32 v = s_.image.get(start + j);
        if (v != 0) {
            WritePending = 1;
            if (j >= 1) LatchedValues[size_t(j)] = v == RegisterImage::RegNoValue ? 0 : v;
        }
        codec_.WriteValueTable[size_t(j + 1)][0] =
            j == 0 ? rowText(v) : valueText(LatchedValues[size_t(j)]);
        s_.image.set(start + j, 0);
    }
    if (WritePending == 1) sendWrite(start, 10);
}

void ScanCycle::sendWrite(int start, int count) {
    codec_.ReplyCount = 0;
    codec_.BuildWriteRequest(QString::number(start), QString::number(count), QStringLiteral("16"));
    send();
}

void ScanCycle::axisMove(int firstRegister, int speed, qint16 distance) {
    if (distance == 0) return;
    s_.image.set(firstRegister, distance > 0 ? 1 : 2);
    s_.image.set(firstRegister + 1, speed);
    s_.image.set(firstRegister + 2, distance > 0 ? distance : -qint32(distance));
    s_.image.set(firstRegister + 3, 1000);
}

void ScanCycle::robotCheck() {
    // While the robot message waits for the operator the check holds still;
    // every other step of the cycle goes on.
    if (s_.RobotCheckState == 0 || s_.RobotMessageBusy == 9) return;
    s_.RobotCheckState += 1;
    s_.form3.Label12[4] = QString::number(s_.RobotCheckState);
    const Form9& f9 = s_.form9;
    const auto shows0 = [&](int i) { return f9.Label3[i] == QStringLiteral("0"); };
    switch (s_.RobotCheckState) {
        case 2:
            s_.image.set(716, 2);
            s_.image.set(717, 1000);
            s_.image.set(718, 20000);
            s_.image.set(719, 0);
            s_.form9.Label5[2] = QStringLiteral("0");
            s_.RobotCheckState = 3;
            break;
        case 5:
            if (!shows0(6)) {
                s_.RobotCheckState = 4;
            } else {
                axisMove(712, 3000, s_.MoveX[2]);
                s_.RobotCheckState = 6;
            }
            break;
        case 7:
            if (!shows0(6)) {
                s_.RobotCheckState = 6;
            } else {
                axisMove(708, 3000, s_.MoveY[2]);
                s_.RobotCheckState = 8;
            }
            break;
        case 10:
            if (!(shows0(3) && shows0(0))) {
                s_.RobotCheckState = 8;
            } else {
                axisMove(716, 2000, s_.MoveZ[2]);
                if (s_.MoveZ[2] > 0) s_.RobotCheckState = 0;
            }
            break;
        case 13:
            if (!shows0(6)) break;  // keeps counting until another part restarts it
            if (f9.Label3[9] == QStringLiteral("1")) {
                s_.RobotMessageBusy = 9;
                dialogs_.message(QStringLiteral("機械手未插好"), QString(), [this] {
                    s_.RobotMessageBusy = 0;
                    s_.RobotCheckState = 0;
                });
            } else {
                s_.RobotCheckState = 0;
            }
            break;
        default:
            break;
    }
}

void InvalidateWriteSlots(StationState& state) {
    auto blank = [&](int first, int last) {
        for (int r = first; r <= last; ++r) state.image.set(r, RegisterImage::RegNoValue);
    };
    blank(800, 819);
    blank(840, 842);
    blank(847, 876);
    blank(901, 919);
    blank(985, 992);
    const auto blocks = scanWriteBlocks(state.machineType(), state.settings.Text1(16),
                                        valvesPerStationSetting(state.settings.Text1(11)));
    for (const WriteBlock& b : blocks)
        if (!b.axis) blank(b.start, b.start + b.count - 1);
    if (state.form2.Timer3) state.form2.Timer3->setEnabled(true);
}

}  // namespace dye
