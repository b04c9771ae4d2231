#include "board/port_finder.h"

#include <gtest/gtest.h>

namespace {

using board::PortFinder;

PortFinder::Port port(const char* path, quint16 vendor, quint16 product)
{
    PortFinder::Port p;
    p.path = QString::fromLatin1(path);
    p.vendorId = vendor;
    p.productId = product;
    p.looksLikeMega = PortFinder::looksLikeMega(vendor, product);
    return p;
}

TEST(PortFinderTest, MegaLikeBoardsAreGenuineMegasAndCommonClones)
{
    EXPECT_TRUE(PortFinder::looksLikeMega(0x2341, 0x0042));
    EXPECT_TRUE(PortFinder::looksLikeMega(0x2A03, 0x0010));
    EXPECT_TRUE(PortFinder::looksLikeMega(0x1A86, 0x7523));
    EXPECT_TRUE(PortFinder::looksLikeMega(0x0403, 0x6001));
    EXPECT_FALSE(PortFinder::looksLikeMega(0x2341, 0x0043)); // an Uno
    EXPECT_FALSE(PortFinder::looksLikeMega(std::nullopt, std::nullopt));
}

TEST(PortFinderTest, PrefersTheLastUsedPortThenTheFirstMega)
{
    const QList<PortFinder::Port> ports{port("/dev/ttyACM0", 0x2341, 0x0042), port("/dev/ttyUSB0", 0x1A86, 0x7523),
                                        port("/dev/ttyS0", 0, 0)};
    EXPECT_EQ(PortFinder::preferredIndex(ports, QStringLiteral("/dev/ttyS0")), 2);
    EXPECT_EQ(PortFinder::preferredIndex(ports, QStringLiteral("/dev/ttyUSB7")), 0);
    EXPECT_EQ(PortFinder::preferredIndex(ports, QString()), 0);
    EXPECT_EQ(PortFinder::preferredIndex({port("/dev/ttyS0", 0, 0)}, QString()), -1);
}

} // namespace
