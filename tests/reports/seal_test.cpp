#include "reports/seal.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace verrane::reports;

// The shipped seal is drawn by the program itself; this writes it when the
// data directory does not have it yet, and checks what is there.
TEST(Seal, ShippedBitmapIsPresentAndReadable) {
    const auto file = std::filesystem::path(VERRANE_SOURCE_DATA_DIR) / "aldmereseal.bmp";
    std::string error;
    ASSERT_TRUE(WriteSealIfMissing(file, 240, &error)) << error;
    std::string message;
    QImage img = LoadSeal(file, &message);
    ASSERT_FALSE(img.isNull()) << message;
    EXPECT_TRUE(message.empty());
    EXPECT_EQ(img.width(), img.height());
    // Corners stay white, the ring is dark.
    EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::white));
    EXPECT_LT(img.pixelColor(img.width() / 2, img.height() / 100 * 3).lightness(), 100);
}

TEST(Seal, MissingBitmapGivesANullImageAndAMessage) {
    std::string message;
    QImage img = LoadSeal("no/such/dir/aldmereseal.bmp", &message);
    EXPECT_TRUE(img.isNull());
    EXPECT_NE(message.find("aldmereseal.bmp"), std::string::npos);
    EXPECT_NE(message.find("without it"), std::string::npos);
}
