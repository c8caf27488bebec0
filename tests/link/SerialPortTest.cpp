#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include "TestFiles.h"
#include "link/FrameCodec.h"
#include "link/SerialPort.h"
#include "link/SimulatorProcess.h"

using namespace dye;

TEST(SerialPort, PortTextNamesANumberedPortOrAPath) {
    EXPECT_EQ(serialDeviceName("5", true), "COM5");
    EXPECT_EQ(serialDeviceName("5", false), "/dev/ttyS4");
    EXPECT_EQ(serialDeviceName(" 1 ", false), "/dev/ttyS0");
    EXPECT_EQ(serialDeviceName("/dev/pts/3", false), "/dev/pts/3");
    EXPECT_EQ(serialDeviceName("/dev/ttyUSB0", false), "/dev/ttyUSB0");
    EXPECT_EQ(serialDeviceName("COM3", true), "COM3");
    EXPECT_EQ(serialDeviceName("0", false), "0");
}

TEST(SerialPort, OpeningAMissingDeviceFailsWithAReason) {
    SerialPort port;
    EXPECT_FALSE(port.open("/nonexistent/ttyDYE", "19200,E,7,1"));
    EXPECT_FALSE(port.isOpen());
    EXPECT_FALSE(port.errorString().isEmpty());
    EXPECT_FALSE(port.open("/dev/null", "19200,X,7,1"));
    // A closed port sends nothing and has nothing to read.
    port.write("\x02");
    EXPECT_EQ(port.readAll(), "");
}

namespace {

// Reads until `size` characters have come or the bound has passed.
QByteArray readAtLeast(Port& port, qsizetype size) {
    QByteArray got;
    QDeadlineTimer bound(5000);
    while (got.size() < size && !bound.hasExpired()) {
        got += port.readAll();
        if (got.size() < size) QThread::msleep(1);
    }
    return got;
}

}  // namespace

// The real serial path: QSerialPort on a pseudo-terminal served by dyesim.
TEST(SerialPort, TalksToTheSimulatorOverAPseudoTerminal) {
    dye::test::ensureCoreApp();  // as in the station: notifiers need one
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString link = dir.filePath("ttyDYE");
    QProcess sim;
    ASSERT_TRUE(dye::test::startSimulator(
        sim, link, {"--load", "1:1234", "--bucket-tare", "0", "--noise", "0"}));

    SerialPort port;
    ASSERT_TRUE(port.open(link, "19200,E,7,1")) << port.errorString().toStdString();
    FrameCodec codec;
    codec.BuildReadRequest("190", "4", "32");
    port.write(codec.TxFrame);
    QByteArray reply = readAtLeast(port, 7 + 32 + 3);
    const QByteArray stx(1, '\x02');
    EXPECT_EQ(reply.left(7), stx + "005100");
    EXPECT_EQ(FrameCodec::DecodeReadReply(reply, codec.ReplyCount, codec.ReplyWidth),
              (std::vector<std::optional<qint32>>{1234, 0, 0, 0}));

    // Tare balance 1, then read it again.
    codec.WriteValueTable[1][0] = "10";
    codec.BuildWriteRequest("989", "1", "16");
    port.clearInput();
    port.write(codec.TxFrame);
    EXPECT_EQ(readAtLeast(port, 9), stx + "006100\x03" + FrameCodec::sumDigits("006100"));
    codec.BuildReadRequest("190", "1", "32");
    port.write(codec.TxFrame);
    reply = readAtLeast(port, 7 + 8 + 3);
    EXPECT_EQ(FrameCodec::DecodeReadReply(reply, 1, "32")[0], 0);

    port.close();
    sim.terminate();
    EXPECT_TRUE(sim.waitForFinished(5000));
    EXPECT_FALSE(QFileInfo::exists(link));
}
