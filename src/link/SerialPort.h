#pragma once

#include <QSerialPort>

#include "link/Port.h"

namespace dye {

// The device a port text names. A whole number N is the platform's N-th
// serial port: COMN on Windows, /dev/ttyS(N-1) elsewhere. Any other text is a
// device path used as given (a pseudo-terminal, /dev/ttyUSB0).
QString serialDeviceName(const QString& port, bool windows);
QString serialDeviceName(const QString& port);

// The controller link on a real serial device. Polled: readAll() takes what
// the device has received even when no Qt event loop runs.
class SerialPort : public Port {
  public:
    SerialPort() = default;
    ~SerialPort() override;

    bool open(const QString& port, const QString& settings) override;
    void close() override;
    bool isOpen() const override { return port_.isOpen(); }
    void clearInput() override;
    void write(const QByteArray& data) override;
    QByteArray readAll() override;
    QString errorString() const override { return error_; }

  private:
    void pumpOutput();
    void noteError();

    QSerialPort port_;
    QString error_;
};

}  // namespace dye
