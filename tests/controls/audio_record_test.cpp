// The sound level graph: a line every second pixel as tall as its level's share of 8192, never outside
// its rectangle whatever the level, and drawn so over its background.
#include <gtest/gtest.h>

#include <QImage>
#include <array>
#include <limits>

#include "controls/audio_record.h"

namespace norvane::controls::test {
namespace {

constexpr std::int32_t kMost = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t kLeast = std::numeric_limits<std::int32_t>::min();

TEST(AudioRecordLines, EveryLevelStandsOnTheBottomWithinTheRectangle) {
  const QRect area(10, 20, 100, 50);  // rows 20 to 69
  const std::array<std::int32_t, 7> levels = {8192, 4096, 0, -5, kMost, kLeast, 2000};
  const std::vector<QLine> lines = AudioRecordLines(levels, area);
  ASSERT_EQ(lines.size(), 4u) << "0 and the negative levels draw nothing";
  EXPECT_EQ(lines[0], QLine(10, 20, 10, 69)) << "full scale fills the height";
  EXPECT_EQ(lines[1], QLine(12, 45, 12, 69)) << "half of it, half the height";
  EXPECT_EQ(lines[2], QLine(18, 20, 18, 69)) << "louder than full scale stops at the top";
  EXPECT_EQ(lines[3], QLine(22, 58, 22, 69)) << "2000 * 50 / 8192 = 12 rows";
  for (const QLine& line : lines) {
    EXPECT_TRUE(area.contains(line.p1()) && area.contains(line.p2()));
  }
}

TEST(AudioRecordLines, AsManyLinesAsEverySecondPixelOfTheWidthHolds) {
  std::array<std::int32_t, CAudioRecordUI::kLevels> levels;
  levels.fill(8192);
  EXPECT_EQ(AudioRecordLines(levels, QRect(0, 0, 100, 10)).size(), 50u);
  EXPECT_EQ(AudioRecordLines(levels, QRect(0, 0, 101, 10)).size(), 51u);
  EXPECT_EQ(AudioRecordLines(levels, QRect(0, 0, 2000, 10)).size(), 500u) << "no more than the levels";
  EXPECT_TRUE(AudioRecordLines(levels, QRect(0, 0, 0, 10)).empty());
  EXPECT_TRUE(AudioRecordLines(levels, QRect(0, 0, 100, 0)).empty());
}

TEST(AudioRecordGraph, DrawsItsLevelsOverItsBackgroundAndStartsWithARamp) {
  CAudioRecordUI graph;
  EXPECT_EQ(graph.Levels()[0], 0);
  EXPECT_EQ(graph.Levels()[255], 255);
  EXPECT_EQ(graph.Levels()[256], 0);

  graph.resize(20, 16);
  graph.SetBkColor(0xFF102030);
  graph.SetAttribute("linecolor", "#FF8000");
  const std::array<std::int32_t, 4> levels = {8192, 4096, kLeast, kMost};
  graph.SetLevels(levels);
  EXPECT_EQ(graph.Levels()[4], 0) << "what was not given is 0";
  QImage image(graph.size(), QImage::Format_ARGB32);
  image.fill(Qt::white);
  graph.render(&image);
  const QRgb line = qRgb(0xFF, 0x80, 0x00);
  const QRgb background = qRgb(0x10, 0x20, 0x30);
  EXPECT_EQ(image.pixel(0, 0), line);
  EXPECT_EQ(image.pixel(0, 15), line);
  EXPECT_EQ(image.pixel(1, 15), background) << "every second pixel";
  EXPECT_EQ(image.pixel(2, 7), background);
  EXPECT_EQ(image.pixel(2, 8), line);
  EXPECT_EQ(image.pixel(4, 15), background) << "a negative level draws nothing";
  EXPECT_EQ(image.pixel(6, 0), line);
  EXPECT_EQ(image.pixel(8, 15), background);

  graph.SetLineColour(0xFF00FF00);
  graph.render(&image);
  EXPECT_EQ(image.pixel(0, 15), qRgb(0, 0xFF, 0)) << "the program's colour";
  graph.SetLineColour(0);
  graph.render(&image);
  EXPECT_EQ(image.pixel(0, 15), line) << "the skin's again";
}

}  // namespace
}  // namespace norvane::controls::test
