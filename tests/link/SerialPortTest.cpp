#include <gtest/gtest.h>

#include "link/SerialPort.h"

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
