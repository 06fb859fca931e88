// The key's light overlay: the colour at the overlay's 170 of 255 inside the rounded shape and nothing outside
// it, a light image that keeps its shape and shows through, and a tint that is redone only for a new colour.
#include <gtest/gtest.h>

#include <QImage>

#include "controls/key_light_tint.h"

namespace norvane::controls::test {
namespace {

// A pixel as straight (not premultiplied) ARGB.
QRgb Straight(const QImage& image, int x, int y) {
  return image.convertToFormat(QImage::Format_ARGB32).pixel(x, y);
}

TEST(ScalePremultiplied, ScalesEveryChannelAndRoundsToTheNearest) {
  // 170 / 255 of 0xFF, 0x80, 0x40, 0x20: 170, 85.3, 42.7, 21.3.
  EXPECT_EQ(ScalePremultiplied(0xFF804020u, 170), 0xAA552B15u);
  EXPECT_EQ(ScalePremultiplied(0xFF804020u, 255), 0xFF804020u) << "full weight keeps the pixel";
  EXPECT_EQ(ScalePremultiplied(0xFF804020u, 0), 0u);
  EXPECT_EQ(ScalePremultiplied(0xFFFFFFFFu, 1), 0x01010101u);
}

TEST(KeyLightTint, TheRoundedShapeTakesTheColourAtTheOverlaysAlphaAndLeavesItsCornersEmpty) {
  KeyLightTint tint;
  tint.Prepare(QSize(21, 21), 1.0, QImage());
  const QImage& red = tint.Tinted(QColor(255, 0, 0));
  ASSERT_EQ(red.size(), QSize(21, 21));
  EXPECT_EQ(Straight(red, 10, 10), qRgba(255, 0, 0, 170));
  EXPECT_EQ(qAlpha(red.pixel(0, 0)), 0) << "outside the rounded corner";
  EXPECT_EQ(qAlpha(red.pixel(20, 20)), 0);
  EXPECT_EQ(qAlpha(red.pixel(10, 0)), 170) << "the edges between the corners are covered";

  const QImage& dim = tint.Tinted(QColor(0, 102, 255, 10));
  EXPECT_EQ(Straight(dim, 10, 10), qRgba(0, 102, 255, 170)) << "the colour's own alpha is no part of it";
}

TEST(KeyLightTint, ALightImageKeepsItsShapeAndShowsThroughTheColour) {
  // Opaque white on the right half, transparent on the left.
  QImage image(20, 10, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 0; y < 10; ++y) {
    for (int x = 10; x < 20; ++x) image.setPixel(x, y, qRgb(255, 255, 255));
  }
  KeyLightTint tint;
  tint.Prepare(QSize(20, 10), 1.0, image);
  const QImage& red = tint.Tinted(QColor(255, 0, 0));
  // White at 85 of 255 under red at 170 of 255: 255, 85, 85, opaque.
  EXPECT_EQ(Straight(red, 15, 5), qRgba(255, 85, 85, 255));
  EXPECT_EQ(Straight(red, 5, 5), 0u) << "no colour where the image has no pixels";
}

TEST(KeyLightTint, TintsAgainOnlyForANewColourAndFollowsTheDevicePixelRatio) {
  KeyLightTint tint;
  tint.Prepare(QSize(10, 8), 1.5, QImage());
  EXPECT_TRUE(tint.IsPreparedFor(QSize(10, 8), 1.5, QImage().cacheKey()));
  EXPECT_FALSE(tint.IsPreparedFor(QSize(10, 8), 1.0, QImage().cacheKey()));
  const QImage& first = tint.Tinted(QColor(0, 255, 0));
  EXPECT_EQ(first.size(), QSize(15, 12));
  EXPECT_EQ(first.devicePixelRatio(), 1.5);
  const qint64 green = first.cacheKey();
  EXPECT_EQ(tint.Tinted(QColor(0, 255, 0)).cacheKey(), green) << "the same colour is not tinted again";
  EXPECT_NE(tint.Tinted(QColor(0, 0, 255)).cacheKey(), green);
  EXPECT_EQ(Straight(tint.Tinted(QColor(0, 0, 255)), 7, 6), qRgba(0, 0, 255, 170));

  tint.Prepare(QSize(0, 0), 1.0, QImage());
  EXPECT_TRUE(tint.Tinted(QColor(1, 2, 3)).isNull()) << "a key too small for a light has none";
}

}  // namespace
}  // namespace norvane::controls::test
