// A lit key drawn in one image must look as the face, the light and the top drawn one over the other by a
// painter: the reference here is Qt's own compositing, for a rounded light and for a light image, with a
// face that has transparent corners and a top that is partly see-through.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>

#include "controls/key_light_composite.h"
#include "controls/key_light_tint.h"

namespace norvane::controls::test {
namespace {

constexpr int kKey = 24;

QImage Face() {
  QImage face(kKey, kKey, QImage::Format_ARGB32_Premultiplied);
  face.fill(Qt::transparent);
  QPainter painter(&face);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(40, 44, 52));
  painter.drawRoundedRect(QRectF(0, 0, kKey, kKey), 5, 5);
  painter.setBrush(QColor(90, 96, 110, 128));
  painter.drawRect(QRectF(3, 3, 8, 8));
  return face;
}

// A caption-like block, opaque in its middle and half see-through around it, and a mark in a corner.
QImage Top() {
  QImage top(kKey, kKey, QImage::Format_ARGB32_Premultiplied);
  top.fill(Qt::transparent);
  QPainter painter(&top);
  painter.fillRect(QRect(7, 9, 10, 6), QColor(255, 255, 255, 120));
  painter.fillRect(QRect(9, 10, 6, 4), QColor(20, 20, 20));
  painter.fillRect(QRect(18, 1, 4, 4), QColor(250, 180, 0, 200));
  return top;
}

QImage Background() {
  QImage background(kKey, kKey, QImage::Format_ARGB32_Premultiplied);
  background.fill(QColor(200, 30, 120));
  return background;
}

// What a painter makes of the three layers on the background.
QImage PaintedInLayers(const QImage& face, KeyLightTint& tint, const QImage& top, QColor colour) {
  QImage out = Background();
  QPainter painter(&out);
  painter.drawImage(0, 0, face);
  painter.drawImage(1, 1, tint.Tinted(colour));
  painter.drawImage(0, 0, top);
  return out;
}

QImage PaintedAtOnce(KeyLightComposite& lit, QColor colour) {
  QImage out = Background();
  QPainter painter(&out);
  painter.drawImage(0, 0, lit.Drawn(colour));
  return out;
}

int LargestDifference(const QImage& a, const QImage& b) {
  int largest = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QRgb p = a.pixel(x, y);
      const QRgb q = b.pixel(x, y);
      largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                          std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
    }
  }
  return largest;
}

void ExpectLooksAsLayered(KeyLightTint& tint, const QImage& top) {
  KeyLightComposite lit;
  lit.Prepare(Face(), top, tint, QPoint(1, 1));
  ASSERT_TRUE(lit.IsPrepared());
  for (const QColor colour : {QColor(255, 0, 0), QColor(0, 255, 40), QColor(255, 255, 255), QColor(0, 0, 0),
                              QColor(17, 130, 250)}) {
    // A rounding step per layer at most.
    EXPECT_LE(LargestDifference(PaintedAtOnce(lit, colour), PaintedInLayers(Face(), tint, top, colour)), 3)
        << colour.name().toStdString();
  }
}

TEST(KeyLightComposite, ARoundedLightBetweenFaceAndTopLooksAsThePainterDrawsTheLayers) {
  KeyLightTint tint;
  tint.Prepare(QSize(kKey - 2, kKey - 2), 1.0, QImage());
  ExpectLooksAsLayered(tint, Top());
  ExpectLooksAsLayered(tint, QImage());
}

TEST(KeyLightComposite, ALightImageBetweenFaceAndTopLooksAsThePainterDrawsTheLayers) {
  QImage image(kKey - 2, kKey - 2, QImage::Format_ARGB32);
  image.fill(Qt::transparent);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = image.width() / 3; x < image.width(); ++x) image.setPixel(x, y, qRgba(255, 255, 255, 60 + x * 8));
  }
  KeyLightTint tint;
  tint.Prepare(image.size(), 1.0, image);
  ExpectLooksAsLayered(tint, Top());
}

TEST(KeyLightComposite, IsWorkedOutAgainOnlyForANewColourAndKeepsTheCornersClear) {
  KeyLightTint tint;
  tint.Prepare(QSize(kKey - 2, kKey - 2), 1.0, QImage());
  KeyLightComposite lit;
  lit.Prepare(Face(), Top(), tint, QPoint(1, 1));
  const QImage& red = lit.Drawn(QColor(255, 0, 0));
  EXPECT_EQ(qAlpha(red.pixel(0, 0)), 0) << "the face's rounded corner stays transparent";
  const qint64 key = red.cacheKey();
  EXPECT_EQ(lit.Drawn(QColor(255, 0, 0)).cacheKey(), key) << "the same colour leaves the image alone";
  lit.Reset();
  EXPECT_FALSE(lit.IsPrepared());
}

}  // namespace
}  // namespace norvane::controls::test
