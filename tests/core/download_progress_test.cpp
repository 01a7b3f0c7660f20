#include "update/download_progress.h"

#include <gtest/gtest.h>

using namespace lexora;

namespace {

TEST(DownloadProgress, SizesInTheLargestUnitWithOneMoreDigit)
{
    const struct {
        qint64 bytes;
        const char *text;
    } cases[] = {
        {0, "0 Byte"},
        {500, "500 Byte"},
        {1023, "1023 Byte"},
        {1024, "1 KB"},
        {1536, "1,5 KB"},
        {1100, "1,1 KB"},
        {10803, "10,5 KB"},
        {1048575, "1024 KB"},     // 1023,999 rounds to 1024: five digits give 1024
        {1048576, "1 MB"},
        {1234567890, "1,1 GB"},
        {qint64(3) << 40, "3 TB"},
        {qint64(5) << 50, "5120 TB"},  // no unit beyond TB
    };
    for (const auto &c : cases)
        EXPECT_EQ(downloadSize(c.bytes), QString::fromUtf8(c.text)) << c.bytes;
}

TEST(DownloadProgress, PercentStatusAndTimeLeft)
{
    EXPECT_EQ(downloadPercent(1, 3), QStringLiteral("33 %"));
    EXPECT_EQ(downloadPercent(2, 3), QStringLiteral("67 %"));
    EXPECT_EQ(downloadPercent(3, 3), QStringLiteral("100 %"));
    EXPECT_EQ(downloadStatus(1536, 1048576), QStringLiteral("1,5 KB von 1 MB gedownloadet"));

    // A quarter in 10 s: three quarters still take 30 s.
    EXPECT_EQ(downloadTimeLeft(250, 1000, 10000), QStringLiteral("verbleibende Zeit: 00:00:30"));
    EXPECT_EQ(downloadTimeLeft(1, 1000, 100000), QStringLiteral("verbleibende Zeit: 27:45:00"));
    EXPECT_EQ(downloadTimeLeft(1000, 1000, 5000), QStringLiteral("verbleibende Zeit: 00:00:00"));
    EXPECT_EQ(downloadTimeLeft(0, 1000, 5000), QString()) << "no pace known yet";
}

} // namespace
