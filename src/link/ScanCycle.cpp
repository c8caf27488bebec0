#include "ScanCycle.h"

#include <algorithm>

#include "core/Dialogs.h"
#include "core/Scheduler.h"
#include "files/language/Wording.h"
#include "link/FrameCodec.h"
#include "link/Port.h"
#include "link/Registers.h"
#include "link/ReplyCheck.h"

namespace dye {
namespace {

constexpr qint32 kOverload = 200000;
constexpr qint32 kNegativeSign = 43;

// Register value to the decimal text of a write row; RegNoValue sends 0.
QString rowText(qint32 v) {
    return v == RegisterImage::RegNoValue ? QStringLiteral("0") : QString::number(v);
}

}  // namespace

ScanCycle::ScanCycle(LinkState& link, FrameCodec& codec, Dialogs& dialogs, const Scheduler& clock)
    : l_(link), codec_(codec), dialogs_(dialogs), clock_(clock) {
    l_.health.setEvents({[this](const QString& why) { onLost(why); }, [this] { onBack(); }});
}

void ScanCycle::setPort(Port* port, const QString& name, const QString& settings) {
    port_ = port;
    portName_ = name;
    portSettings_ = settings;
    lastReopenMs_ = clock_.now();
    l_.health.start(clock_.now());
}

void ScanCycle::portOpenFailed(const QString& why) {
    l_.health.portFailed(why);
}

void ScanCycle::tick() {
    ++ticks_;
    checkPort();
    ++ScanStep;
    const ScanConfig cfg = config();
    const int type = cfg.machineType;
    switch (ScanStep) {
        case 1:
            startRead(reg::Weight1, 4, 32);
            break;
        case 2:
            if (storeReply()) decodeWeights(cfg);
            break;
        case 3:
            startRead(reg::SignWord1, 5, 16);
            break;
        case 4:
            if (storeReply()) decodeSigns();
            break;
        case 5:
            if (type == 4 || type == 5)
                runWriteBlocks(5, cfg);
            else
                startRead(reg::PipeHeadDown, 13, 16);
            break;
        case 7:
            if (type == 4 || type == 5)
                runWriteBlocks(7, cfg);
            else if (storeReply())
                decodeAxes();
            break;
        case 15:
            if (robotCheck_) robotCheck_();  // the gantry move in progress, axis by axis
            break;
        case 16:
            ScanStep = 0;
            break;
        default:
            if (ScanStep >= 8 && ScanStep <= 14)
                runWriteBlocks(ScanStep, cfg);
            else if (ScanStep > 16)
                ScanStep = 0;
            break;
    }
}

// A port that failed or was never opened is closed and opened again every
// two seconds, for as long as the controller does not answer.
void ScanCycle::checkPort() {
    if (!port_) return;
    if (port_->isOpen() && !port_->errorString().isEmpty())
        l_.health.portFailed(QStringLiteral("port %1: %2").arg(portName_, port_->errorString()));
    if (l_.health.up() && port_->isOpen()) return;
    const qint64 now = clock_.now();
    if (now - lastReopenMs_ < kReopenMs) return;
    lastReopenMs_ = now;
    port_->close();
    if (port_->open(portName_, portSettings_)) readStart_ = 0;
}

bool ScanCycle::portUsable() {
    return port_ && port_->isOpen();
}

void ScanCycle::send() {
    if (!portUsable()) return;
    port_->write(codec_.TxFrame);
    if (sent_) sent_(codec_.TxFrame);
}

void ScanCycle::startRead(int start, int count, int width) {
    if (portUsable()) port_->clearInput();
    for (QString& field : ReplyFields)
        if (!field.isNull()) field = QString();
    codec_.BuildReadRequest(QString::number(start), QString::number(count), QString::number(width));
    readStart_ = start;
    send();
}

// Stores a whole answer in the image and reports the read's outcome; false
// when nothing whole came (the slots keep their values, the next pass asks
// again).
bool ScanCycle::storeReply() {
    const int asked = readStart_;
    readStart_ = 0;
    const QByteArray reply = portUsable() ? port_->readAll() : QByteArray();
    ReplyFields[0] = QString::fromLatin1(reply);
    if (asked == 0) return false;  // the read went out on a port that was reopened since
    if (!replyIsWhole(reply, codec_.ReplyCount, codec_.ReplyWidth)) {
        l_.health.missed(clock_.now(),
                         reply.isEmpty() ? QStringLiteral("no answer to the read of D%1").arg(asked)
                                         : QStringLiteral("answer to the read of D%1 refused: %2")
                                               .arg(asked)
                                               .arg(readReplyProblem(reply, codec_.ReplyCount,
                                                                     codec_.ReplyWidth)));
        return false;
    }
    const int stride = codec_.ReplyWidth == QLatin1String("32") ? 2 : 1;
    const auto values = FrameCodec::DecodeReadReply(reply, codec_.ReplyCount, codec_.ReplyWidth);
    for (size_t i = 0; i < values.size(); ++i) {
        if (!values[i]) continue;
        l_.image.set(asked + stride * int(i), *values[i]);
        if (i + 1 < ReplyFields.size()) ReplyFields[i + 1] = QString::number(*values[i], 16);
    }
    l_.health.answered(clock_.now());
    return true;
}

void ScanCycle::decodeWeights(const ScanConfig& cfg) {
    // An overload keeps the weight as it was and is not a fresh reading:
    // nothing may be decided on it; its sign tells over the range from far
    // below the zero. The type-5 scaling applies to a fresh reading only.
    for (int n : {1, 2}) {
        BalanceInput& b = l_.inputs.balance[size_t(n)];
        b.raw = l_.image.get(n == 1 ? reg::Weight1 : reg::Weight2);
        b.overload = b.raw >= kOverload;
        b.fresh = !b.overload;
        b.negative = b.signWord == kNegativeSign;
        if (b.overload) continue;
        double weight = cfg.factor[size_t(n)] ? b.raw * *cfg.factor[size_t(n)] : double(b.raw);
        if (b.negative) weight = -weight;
        if (cfg.machineType == 5 && n == 2) weight /= 10.0;
        b.weight = weight;
        b.readAtMs = clock_.now();
    }
}

void ScanCycle::decodeSigns() {
    MachineInputs& in = l_.inputs;
    in.balance[1].signWord = l_.image.get(reg::SignWord1);
    in.balance[2].signWord = l_.image.get(reg::SignWord2);
    in.laneReady[1] = l_.image.get(reg::LaneReady1) == 1;
    in.laneReady[2] = l_.image.get(reg::LaneReady2) == 1;
}

void ScanCycle::decodeAxes() {
    MachineInputs& in = l_.inputs;
    for (int i = 0; i < 12; ++i) in.switches[size_t(i)] = l_.image.get(reg::FirstSwitch + i);
    in.yBusy = l_.image.get(reg::YBusy) != 0;
    in.xBusy = l_.image.get(reg::XBusy) != 0;
    in.zBusy = l_.image.get(reg::ZBusy) != 0;
    in.pipeHeadDown = l_.image.get(reg::PipeHeadDown) == 1;
    in.axesFresh = true;
}

const std::vector<WriteBlock>& ScanCycle::writeBlocks(const ScanConfig& cfg) {
    if (!blocksFor_ || blocksFor_->machineType != cfg.machineType ||
        blocksFor_->profile != cfg.profile ||
        blocksFor_->valvesPerStation != cfg.valvesPerStation) {
        blocks_ = scanWriteBlocks(cfg.machineType, cfg.profile,
                                  valvesPerStationSetting(cfg.valvesPerStation));
        blocksFor_ = cfg;
    }
    return blocks_;
}

// Every row of the write table back to "0" (a row that holds this very
// text already is left as it is).
void ScanCycle::clearWriteValues() {
    static const QString zero = QStringLiteral("0");
    const char16_t* text = zero.data_ptr().data();
    for (auto& row : codec_.WriteValueTable) {
        const QStringPrivate& cell = row[0].data_ptr();
        if (cell.data() != text || cell.size != 1) row[0] = zero;
    }
}

void ScanCycle::runWriteBlocks(int step, const ScanConfig& cfg) {
    for (const WriteBlock& b : writeBlocks(cfg)) {
        if (b.step != step) continue;
        if (b.latched)
            writeLatchedBlock(b.start);
        else
            writeBlock(b.start, b.count, b.axis);
        return;  // one frame per tick
    }
}

// A write frame sets every register of its range, and a 0 switches an
// output off: so a frame carries only values some part of the station asked
// for, and 0 to command registers between them (0 commands nothing). It runs
// from the first pending slot to the last one before an output that nothing
// asked for; a run after such a gap stays pending for the next pass. An axis
// block is one command of four values (a 0 among them means something) and
// goes out whole.
void ScanCycle::writeBlock(int start, int count, bool whole) {
    WritePending = 0;
    if (portUsable()) port_->clearInput();
    clearWriteValues();
    const int last = std::min(count, int(codec_.WriteValueTable.size()) - 1);
    int first = 0;
    while (first < last && l_.image.get(start + first) == 0) ++first;
    if (first == last) return;
    if (whole) first = 0;
    int end = whole ? last : first + 1;  // one past the frame's last slot
    for (int j = end; !whole && j < last; ++j) {
        if (l_.image.get(start + j) != 0)
            end = j + 1;
        else if (reg::isOutput(start + j))
            break;
    }
    for (int j = first; j < end; ++j) {
        const qint32 v = l_.image.take(start + j);
        if (v != 0) WritePending = 1;
        codec_.WriteValueTable[size_t(j - first + 1)][0] = rowText(v);
    }
    if (WritePending == 1) sendWrite(start + first, end - first);
}

void ScanCycle::writeLatchedBlock(int start) {
    WritePending = 0;
    if (portUsable()) port_->clearInput();
    clearWriteValues();
    for (int j = 0; j < 10; ++j) {
        const qint32 v = l_.image.get(start + j);
        if (v != 0) {
            WritePending = 1;
            if (j >= 1) LatchedValues[size_t(j)] = v == RegisterImage::RegNoValue ? 0 : v;
        }
        codec_.WriteValueTable[size_t(j + 1)][0] =
            j == 0 ? rowText(v) : QString::number(LatchedValues[size_t(j)]);
        l_.image.set(start + j, 0);
    }
    if (WritePending == 1) sendWrite(start, 10);
}

void ScanCycle::sendWrite(int start, int count) {
    codec_.ReplyCount = 0;
    codec_.BuildWriteRequest(QString::number(start), QString::number(count), QStringLiteral("16"));
    send();
}

void ScanCycle::onLost(const QString& why) {
    MachineInputs& in = l_.inputs;
    for (BalanceInput& b : in.balance) b.fresh = false;
    in.axesFresh = false;
    log(QStringLiteral("<link> lost: ") + why);
    lossMessageOpen_ = true;
    const QString text =
        QStringLiteral("*** LINK LOST: %1 ***\n").arg(why) +
        wordingIn(
            config().language,
            {u"控制器沒有回應：計量與加水暫停。請檢查控制器的電源與通訊線；連線恢復後按確定繼續。",
             u"The controller does not answer: metering and water are held. Check the "
             u"controller's power and the serial cable; once the link is back, press OK "
             u"to go on."});
    dialogs_.message(text, QStringLiteral("LINK"), [this] {
        lossMessageOpen_ = false;
        if (l_.health.up()) l_.health.acknowledge();
    });
}

void ScanCycle::onBack() {
    // A valve the controller kept open while it could not be reached must
    // not keep pouring: the first writes switch every output off.
    InvalidateWriteSlots(l_, config());
    // A job-end code sent while the controller could no longer be reached
    // may be lost: it goes out again before the next job's lanes start.
    for (int lane : {1, 2})
        if (l_.laneEndOwed[size_t(lane - 1)]) putLaneJobEnd(l_, lane);
    log(QStringLiteral("<link> back: the controller answers again; every output switched off"));
    if (lossMessageOpen_) return;  // the loss message's OK lets the station go on
    dialogs_.message(QStringLiteral("*** LINK BACK ***\n") +
                         wordingIn(config().language,
                                   {u"控制器再次回應。所有輸出已關閉；按確定繼續。",
                                    u"The controller answers again. Every output was switched "
                                    u"off; press OK to go on."}),
                     QStringLiteral("LINK"), [this] {
                         if (l_.health.up()) l_.health.acknowledge();
                     });
}

void ScanCycle::log(const QString& line) const {
    if (log_) log_(line);
}

void InvalidateWriteSlots(LinkState& link, const ScanConfig& config) {
    RegisterImage& image = link.image;
    const std::array<bool, 2> pending = {laneJobEndPending(link, 1), laneJobEndPending(link, 2)};
    auto blank = [&](int first, int last) {
        for (int r = first; r <= last; ++r) image.set(r, RegisterImage::RegNoValue);
    };
    blank(reg::output(0), reg::output(19));
    blank(reg::Air1, reg::WaterIn);
    blank(reg::ConveyorMotor, reg::valve(26));
    blank(reg::conveyor(1), reg::conveyor(19));
    blank(reg::WaterValve, reg::Phase1 + 2);
    const auto blocks = scanWriteBlocks(config.machineType, config.profile,
                                        valvesPerStationSetting(config.valvesPerStation));
    for (const WriteBlock& b : blocks)
        if (!b.axis) blank(b.start, b.start + b.count - 1);
    for (int lane : {1, 2})
        if (pending[size_t(lane - 1)]) putLaneJobEnd(link, lane);
}

bool laneJobEndPending(const LinkState& link, int lane) {
    return link.laneEndOwed[size_t(lane - 1)] &&
           link.image.get(lanePhaseRegister(lane)) == kLaneJobEnd;
}

void putLaneJobEnd(LinkState& link, int lane) {
    const int first = lanePhaseRegister(lane);
    for (int r = first; r < first + 3; ++r) link.image.set(r, kLaneJobEnd);
}

}  // namespace dye
