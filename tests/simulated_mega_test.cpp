#include "simulator/simulated_mega.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using simulator::SimulatedMega;

// Writes Intel HEX records to a file of the folder and returns its path.
QString hexFile(const QTemporaryDir& folder, const QByteArray& records)
{
    const QString path = folder.filePath(QStringLiteral("program.hex"));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly) && file.write(records) == records.size());
    return path;
}

class ThrowingListener : public SimulatedMega::PortListener {
public:
    void portWritten(std::uint64_t, char, std::uint8_t) override { throw std::runtime_error("no room for the frame"); }
};

// What our side throws while simavr runs the core stops the core, as a
// failure of the tool with its text, without unwinding through simavr.
TEST(SimulatedMegaTest, AFailingListenerStopsTheCoreAsAFailureOfTheTool)
{
    // ldi r16, 5; out PORTC, r16; rjmp back to the out.
    QTemporaryDir folder;
    const QString path = hexFile(folder, ":0600000005E008B9FECF87\n:00000001FF\n");
    SimulatedMega mega;
    QString error;
    ASSERT_TRUE(mega.loadHex(path, &error)) << error.toStdString();
    ThrowingListener listener;
    mega.watchPorts("C", listener);

    EXPECT_FALSE(mega.run(1000));
    EXPECT_EQ(mega.halt(), SimulatedMega::Halt::ToolFailed);
    EXPECT_EQ(mega.toolError(), "no room for the frame");
    EXPECT_EQ(mega.haltAddress(), 2u) << "the out to port C";
    EXPECT_FALSE(mega.run(1000)) << "it stays stopped";
}

// A HEX file that reaches past the end of the 256 KB flash is refused
// whole, never copied in part.
TEST(SimulatedMegaTest, HexPastTheEndOfTheFlashIsRefused)
{
    QTemporaryDir folder;
    // Four bytes from 0x3FFFE: the last two do not fit.
    const QString path = hexFile(folder, ":020000040003F7\n:04FFFE0001020304F5\n:00000001FF\n");
    SimulatedMega mega;
    QString error;
    EXPECT_FALSE(mega.loadHex(path, &error));
    EXPECT_TRUE(error.contains(QStringLiteral("does not fit the flash"))) << error.toStdString();
    EXPECT_EQ(mega.flash(0x3FFFE, 8), QByteArray(2, '\xff')) << "the flash is erased and ends there";
}

} // namespace
