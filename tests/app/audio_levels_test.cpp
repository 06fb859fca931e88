// The levels of the audio capture companion as the window processes them: the changes since the previous
// message, grouped in fives of which four count, their mean and deviation; the keyboard's 25 and the
// mouse's 10 groups every third message; values from another program of any size.
#include "app/audio_levels.h"

#include <gtest/gtest.h>

#include <limits>

namespace norvane::app {
namespace {

using Levels = AudioLevelProcessor::Buffer;

TEST(AudioLevels, MeanAndDeviationOfAGroup) {
  const std::array<std::int64_t, 4> changes{10, 20, 30, 40};
  const AudioLevelProcessor::Group group = AudioLevelProcessor::GroupOf(changes);
  EXPECT_EQ(group.mean, 25);
  EXPECT_EQ(group.deviation, 12) << "the square root of (225 + 25 + 25 + 225) / 3 = 166, in integers";
}

TEST(AudioLevels, TheKeyboardHasItsGroupsEveryThirdMessageAndTheMouseItsOwnTen) {
  AudioLevelProcessor processor;
  // Every group's four counted levels rise by 10, 20, 30, 40 from one message to the next; the fifth by 999.
  Levels levels{};
  auto next = [&] {
    for (std::size_t g = 0; g < 100; ++g) {
      for (std::size_t k = 0; k < 4; ++k) levels[5 * g + k] += std::int32_t(10 * (k + 1));
      levels[5 * g + 4] += 999;
    }
  };
  next();
  EXPECT_FALSE(processor.Process(levels, true, true).keyboard);
  next();
  EXPECT_FALSE(processor.Process(levels, true, true).keyboard);
  next();
  const AudioLevelProcessor::Feeds third = processor.Process(levels, true, false);
  ASSERT_TRUE(third.keyboard);
  EXPECT_FALSE(third.mouse) << "no mouse connected";
  for (std::size_t g = 0; g < 25; ++g) EXPECT_EQ((*third.keyboard)[g], 25) << g;
  EXPECT_EQ((*third.keyboard)[25], 0) << "the rest of the buffer is clear";
  EXPECT_EQ(processor.KeyboardDeviations()[24], 12);

  next();
  EXPECT_FALSE(processor.Process(levels, true, false).keyboard) << "the count started again";
}

TEST(AudioLevels, AMouseTakesTenGroupsAndWhatTheKeyboardsLeftBeyondThem) {
  AudioLevelProcessor processor;
  Levels levels{};
  for (int message = 1; message <= 3; ++message) {
    for (std::size_t g = 0; g < 100; ++g)
      for (std::size_t k = 0; k < 4; ++k) levels[5 * g + k] += std::int32_t(10 * (k + 1) + (g == 0 ? 1000 : 0));
    const AudioLevelProcessor::Feeds feeds = processor.Process(levels, true, true);
    ASSERT_EQ(bool(feeds.mouse), message == 3);
    ASSERT_EQ(bool(feeds.keyboard), message == 3);
    if (message < 3) continue;
    EXPECT_EQ((*feeds.mouse)[0], 1025);
    EXPECT_EQ((*feeds.mouse)[9], 25);
    EXPECT_EQ((*feeds.mouse)[10], 25) << "beyond the mouse's ten, the keyboard's means of this message stay";
    EXPECT_EQ((*feeds.mouse)[25], 0);
    EXPECT_EQ((*feeds.keyboard)[0], 1025);
  }
  EXPECT_EQ(processor.MouseMeans()[0], 1025);
  EXPECT_EQ(processor.MouseDeviations()[0], 12);
}

TEST(AudioLevels, ExtremeValuesFromAnotherProgramStayWithinTheArithmetic) {
  AudioLevelProcessor processor;
  Levels low;
  low.fill(std::numeric_limits<std::int32_t>::min());
  Levels high;
  high.fill(std::numeric_limits<std::int32_t>::max());
  (void)processor.Process(low, true, true);
  (void)processor.Process(high, true, true);
  const AudioLevelProcessor::Feeds feeds = processor.Process(low, true, true);
  ASSERT_TRUE(feeds.keyboard);
  EXPECT_GT((*feeds.keyboard)[0], 0) << "the largest change counts as large, not as negative";
  EXPECT_EQ(processor.KeyboardDeviations()[0], 0);
}

}  // namespace
}  // namespace norvane::app
