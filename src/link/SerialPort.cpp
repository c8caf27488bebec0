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
    // The order the station has always prepared its port in: name, line
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
    while (port_.waitForReadyRead(0)) {
    }
    port_.readAll();
}

void SerialPort::write(const QByteArray& data) {
    if (!port_.isOpen()) return;
    if (port_.write(data) < 0) noteError();
    pumpOutput();
}

QByteArray SerialPort::readAll() {
    if (!port_.isOpen()) return {};
    pumpOutput();
    // Without an event loop the device is only read when asked: take every
    // character it holds now, without waiting for more.
    while (port_.waitForReadyRead(0)) {
    }
    return port_.readAll();
}

void SerialPort::pumpOutput() {
    if (port_.bytesToWrite() > 0) port_.flush();
}

void SerialPort::noteError() {
    error_ = port_.errorString();
}

}  // namespace dye
