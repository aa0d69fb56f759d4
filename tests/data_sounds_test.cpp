// The generated sound effects, checked against what the game's sound loader
// reads: a RIFF WAVE form, a PCM format chunk, then a data chunk, all of it
// meant to be played as 8-bit mono at 11025 Hz.
#include "tests/data_files.h"
#include "tests/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

struct Sound {
    std::vector<uint8_t> samples;
    bool parsed = false;
};

Sound ParseSound(const std::string& name)
{
    SCOPED_TRACE(name);
    const std::vector<uint8_t> bytes = ReadFileBytes(GameDataPath(name));
    Sound sound;
    EXPECT_GE(bytes.size(), 44u);
    if (bytes.size() < 44) {
        return sound;
    }
    EXPECT_EQ(ReadTag(bytes, 0), "RIFF");
    EXPECT_EQ(ReadLe(bytes, 4, 4), bytes.size() - 8);
    EXPECT_EQ(ReadTag(bytes, 8), "WAVE");
    EXPECT_EQ(ReadTag(bytes, 12), "fmt ");
    EXPECT_EQ(ReadLe(bytes, 16, 4), 16u);
    EXPECT_EQ(ReadLe(bytes, 20, 2), 1u) << "PCM";
    EXPECT_EQ(ReadLe(bytes, 22, 2), 1u) << "mono";
    EXPECT_EQ(ReadLe(bytes, 24, 4), 11025u);
    EXPECT_EQ(ReadLe(bytes, 28, 4), 11025u) << "bytes per second";
    EXPECT_EQ(ReadLe(bytes, 32, 2), 1u) << "block alignment";
    EXPECT_EQ(ReadLe(bytes, 34, 2), 8u) << "bits per sample";
    EXPECT_EQ(ReadTag(bytes, 36), "data");
    const uint32_t size = ReadLe(bytes, 40, 4);
    // The data chunk fills the rest of the file, with its pad byte when odd.
    EXPECT_EQ(bytes.size(), 44u + size + (size & 1u));
    if (44u + size <= bytes.size()) {
        sound.samples.assign(bytes.begin() + 44, bytes.begin() + 44 + size);
        sound.parsed = !testing::Test::HasFailure();
    }
    return sound;
}

double Seconds(const Sound& sound)
{
    return static_cast<double>(sound.samples.size()) / 11025.0;
}

void ExpectAudibleAndQuietAtTheEnd(const Sound& sound)
{
    ASSERT_FALSE(sound.samples.empty());
    const auto [low, high] = std::minmax_element(sound.samples.begin(), sound.samples.end());
    EXPECT_GE(*high - *low, 96) << "too quiet to hear";
    // A sound that stops away from the midpoint ends in a pop.
    EXPECT_NEAR(sound.samples.back(), 128, 2);
}

TEST(DataSounds, FilesAreEightBitMonoPcmAtTheGamesRate)
{
    for (const char* name : {"Sounds/clk.wav", "Sounds/bng.wav", "Sounds/wd.wav"}) {
        SCOPED_TRACE(name);
        const Sound sound = ParseSound(name);
        EXPECT_TRUE(sound.parsed);
        ExpectAudibleAndQuietAtTheEnd(sound);
    }
}

TEST(DataSounds, LengthsSuitWhatEachSoundMarks)
{
    const Sound click = ParseSound("Sounds/clk.wav");
    const Sound bang = ParseSound("Sounds/bng.wav");
    const Sound fanfare = ParseSound("Sounds/wd.wav");
    // The click follows every opening and flag, so it must be over at once.
    EXPECT_GE(Seconds(click), 0.03);
    EXPECT_LE(Seconds(click), 0.06);
    EXPECT_GE(Seconds(bang), 0.5);
    EXPECT_LE(Seconds(bang), 0.8);
    EXPECT_GE(Seconds(fanfare), 1.0);
    EXPECT_LE(Seconds(fanfare), 1.5);
    EXPECT_LT(click.samples.size(), bang.samples.size());
}

} // namespace
