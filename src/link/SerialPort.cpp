#include "SerialPort.h"

namespace dye {

QString serialDeviceName(const QString& port, bool windows) {
    const QString text = port.trimmed();
    bool isNumber = false;
    const int n = text.toInt(&isNumber);
    if (!isNumber || n < 1) return text;
    return windows ? QStringLiteral("COM%1").arg(n) : QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

QString serialDeviceName(const QString& port) {
#ifdef Q_OS_WIN
    return serialDeviceName(port, true);
#else
    return serialDeviceName(port, false);
#endif
}

SerialPort::~SerialPort() {
    close();
}

namespace {

QSerialPort::Parity toParity(char parity) {
    switch (parity) {
        case 'E':
            return QSerialPort::EvenParity;
        case 'O':
            return QSerialPort::OddParity;
        case 'M':
            return QSerialPort::MarkParity;
        case 'S':
            return QSerialPort::SpaceParity;
        default:
            return QSerialPort::NoParity;
    }
}

}  // namespace

bool SerialPort::open(const QString& port, const QString& settings) {
    error_.clear();
    const std::optional<LineSettings> line = LineSettings::parse(settings);
    if (!line) {
        error_ = QStringLiteral("invalid line settings \"%1\"").arg(settings);
        return false;
    }
    // The port is prepared in this order: name, line
    // settings and handshaking; close if open; open; open again if that did
    // not take.
    port_.setPortName(serialDeviceName(port));
    port_.setBaudRate(line->baud);
    port_.setParity(toParity(line->parity));
    port_.setDataBits(QSerialPort::DataBits(line->dataBits));
    port_.setStopBits(line->stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop);
    port_.setFlowControl(QSerialPort::NoFlowControl);
    if (port_.isOpen()) port_.close();
    if (!port_.open(QIODevice::ReadWrite)) noteError();
    if (!port_.isOpen() && !port_.open(QIODevice::ReadWrite)) noteError();
    if (port_.isOpen()) error_.clear();
    return port_.isOpen();
}

void SerialPort::close() {
    if (port_.isOpen()) port_.close();
}

void SerialPort::clearInput() {
    if (!port_.isOpen()) return;
    port_.clear(QSerialPort::Input);
    // What the device had already handed over is discarded too.
    drain();
    port_.readAll();
    noteFailure();
}

void SerialPort::write(const QByteArray& data) {
    if (!port_.isOpen()) return;
    if (port_.write(data) < 0) noteError();
    pumpOutput();
}

QByteArray SerialPort::readAll() {
    if (!port_.isOpen()) return {};
    pumpOutput();
    drain();
    const QByteArray got = port_.readAll();
    noteFailure();
    return got;
}

// Without an event loop the device is only read when asked: take what it
// holds now, without waiting for more. Bounded: a device that hangs up keeps
// reporting itself readable, and must not hold the station in a loop.
void SerialPort::drain() {
    constexpr int kMostRounds = 64;
    for (int i = 0; i < kMostRounds && port_.isOpen() && port_.waitForReadyRead(0); ++i) {
    }
}

// A device that went away (an adapter pulled, the other end closed) is a
// failure the scan must hear of; a read that merely found nothing is not.
void SerialPort::noteFailure() {
    const QSerialPort::SerialPortError e = port_.error();
    if (e == QSerialPort::NoError || e == QSerialPort::TimeoutError) return;
    noteError();
    port_.clearError();
}

void SerialPort::pumpOutput() {
    if (port_.bytesToWrite() > 0) port_.flush();
}

void SerialPort::noteError() {
    error_ = port_.errorString();
}

}  // namespace dye
