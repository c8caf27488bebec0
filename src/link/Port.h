#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace dye {

// The line parameters of a settings text such as "19200,E,7,1": baud rate,
// parity letter (N, E, O, M, S), data bits and stop bits.
struct LineSettings {
    int baud = 19200;
    char parity = 'E';
    int dataBits = 7;
    int stopBits = 1;

    // Bits on the wire per character: start bit, data, parity, stop bits.
    int bitsPerCharacter() const { return 1 + dataBits + (parity == 'N' ? 0 : 1) + stopBits; }

    // Parses "baud,parity,data,stop"; nothing when the text is not of that form
    // or a value is out of the range serial lines use.
    static std::optional<LineSettings> parse(const QString& text);
};

// The serial link to the controller as the station uses it: polled, never
// event driven. A tick writes a whole frame and a later tick takes everything
// that has arrived since.
class Port {
  public:
    virtual ~Port() = default;

    // Opens the port named `port` with `settings` ("19200,E,7,1"). False when
    // it cannot be opened; errorString() says why.
    virtual bool open(const QString& port, const QString& settings) = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Discards every character received so far.
    virtual void clearInput() = 0;
    // Sends the whole text; nothing happens on a closed port.
    virtual void write(const QByteArray& data) = 0;
    // Returns and removes every character received so far (possibly none).
    virtual QByteArray readAll() = 0;
    virtual QString errorString() const = 0;
};

}  // namespace dye
