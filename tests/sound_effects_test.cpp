#include "platform/fake/fake_audio.h"
#include "platform/fake/fake_core.h"
#include "platform/fake/fake_file.h"
#include "sound/sound_effects.h"
#include "tests/test_support.h"

#include <cstring>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

void PutLe(Bytes* out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i) {
        out->push_back(static_cast<uint8_t>(value >> (8 * i)));
    }
}

// A chunk with its header and, for an odd size, its pad byte.
Bytes Chunk(const char* id, const Bytes& contents, bool pad = true)
{
    Bytes out(id, id + 4);
    PutLe(&out, static_cast<uint32_t>(contents.size()), 4);
    out.insert(out.end(), contents.begin(), contents.end());
    if (pad && contents.size() % 2 == 1) {
        out.push_back(0);
    }
    return out;
}

Bytes Chunk(const char* id, uint32_t declaredSize, const Bytes& contents)
{
    Bytes out(id, id + 4);
    PutLe(&out, declaredSize, 4);
    out.insert(out.end(), contents.begin(), contents.end());
    return out;
}

// The format chunk's contents: 16 bytes, or 18 with the extra-size field.
Bytes Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, bool withExtra = true)
{
    Bytes out;
    uint16_t block = static_cast<uint16_t>(channels * bits / 8);
    PutLe(&out, tag, 2);
    PutLe(&out, channels, 2);
    PutLe(&out, rate, 4);
    PutLe(&out, rate * block, 4);
    PutLe(&out, block, 2);
    PutLe(&out, bits, 2);
    if (withExtra) {
        PutLe(&out, 0, 2);
    }
    return out;
}

Bytes Riff(const std::vector<Bytes>& chunks, const char* form = "WAVE")
{
    Bytes contents(form, form + 4);
    for (const Bytes& chunk : chunks) {
        contents.insert(contents.end(), chunk.begin(), chunk.end());
    }
    return Chunk("RIFF", contents);
}

Bytes Samples(size_t count, uint8_t seed = 1)
{
    Bytes out(count);
    for (size_t i = 0; i < count; ++i) {
        out[i] = static_cast<uint8_t>(seed + i * 7);
    }
    return out;
}

Bytes PlainWave(const Bytes& samples)
{
    return Riff({Chunk("fmt ", Format(1, 1, 11025, 8)), Chunk("data", samples)});
}

class SoundTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        ASSERT_EQ(SoundOpen(), 1);
    }

    static int Load(const Bytes& file, const char* path = "Sounds\\test.wav")
    {
        FakeFileSetContents(path, file);
        return SoundLoadWav(path, SOUND_LOAD_FLAGS);
    }

    static Bytes BufferBytes(int id)
    {
        const FakeSoundBufferInfo* info = FakeAudioBuffer(g_soundSlots[id].buffer);
        return info == nullptr ? Bytes{} : info->bytes;
    }

    static bool SlotIs(int id, int inUse, bool hasBuffer)
    {
        return g_soundSlots[id].inUse == inUse && (g_soundSlots[id].buffer != nullptr) == hasBuffer;
    }
};

TEST_F(SoundTest, LoadsTakeSlotsInOrderAndHoldTheFileBytes)
{
    FakeFileSetContents("Sounds\\wd.wav", PlainWave(Samples(300, 1)));
    FakeFileSetContents("Sounds\\bng.wav", PlainWave(Samples(301, 2)));
    FakeFileSetContents("Sounds\\clk.wav", PlainWave(Samples(40, 3)));
    g_sndWellDone = SoundLoadWav("Sounds\\wd.wav", SOUND_LOAD_FLAGS);
    g_sndBang = SoundLoadWav("Sounds\\bng.wav", SOUND_LOAD_FLAGS);
    g_sndClick = SoundLoadWav("Sounds\\clk.wav", SOUND_LOAD_FLAGS);
    EXPECT_EQ(g_sndWellDone, 0);
    EXPECT_EQ(g_sndBang, 1);
    EXPECT_EQ(g_sndClick, 2);
    // The odd-sized data chunk ends without its pad byte, at the end of the file.
    EXPECT_EQ(BufferBytes(1), Samples(301, 2));
    EXPECT_EQ(BufferBytes(2), Samples(40, 3));
    const SoundSlot& slot = g_soundSlots[g_sndBang];
    EXPECT_EQ(slot.inUse, 1);
    EXPECT_EQ(slot.byteLength, 301u);
    EXPECT_EQ(slot.sampleRate, 11025u);
    EXPECT_EQ(slot.index, 1);
    const FakeSoundBufferInfo* info = FakeAudioBuffer(slot.buffer);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->flags, 0xE0u | 0x2u | 0x8u);
}

TEST_F(SoundTest, AnyPcmLayoutLoadsUnchangedAndPlaysAsEightBitMono)
{
    Bytes samples = Samples(64);
    EXPECT_EQ(Load(Riff({Chunk("fmt ", Format(1, 2, 44100, 16)), Chunk("data", samples)})), 0);
    EXPECT_EQ(BufferBytes(0), samples);
    EXPECT_EQ(g_soundSlots[0].sampleRate, 44100u);
    const PlatWaveFormat& format = FakeAudioBuffer(g_soundSlots[0].buffer)->format;
    EXPECT_EQ(format.formatTag, 1);
    EXPECT_EQ(format.channels, 1);
    EXPECT_EQ(format.samplesPerSecond, 11025u);
    EXPECT_EQ(format.averageBytesPerSecond, 11025u);
    EXPECT_EQ(format.blockAlign, 1);
    EXPECT_EQ(format.bitsPerSample, 8);
}

TEST_F(SoundTest, AMissingFileOrTheSameFileTwice)
{
    FakeFileSetContents("b.wav", PlainWave(Samples(20)));
    EXPECT_EQ(SoundLoadWav("missing.wav", SOUND_LOAD_FLAGS), -1);
    EXPECT_EQ(SoundLoadWav("b.wav", SOUND_LOAD_FLAGS), 0);
    EXPECT_EQ(SoundLoadWav("b.wav", SOUND_LOAD_FLAGS), 1);
    EXPECT_NE(g_soundSlots[0].buffer, g_soundSlots[1].buffer);
    EXPECT_EQ(BufferBytes(1), Samples(20));
}

TEST_F(SoundTest, AFullTableRefusesWithoutOpeningTheFile)
{
    FakeFileSetContents("a.wav", PlainWave(Samples(8)));
    for (int i = 0; i < SOUND_SLOT_COUNT; ++i) {
        ASSERT_EQ(SoundLoadWav("a.wav", 0), i);
    }
    int opens = FakeCallCount("FileOpenRead");
    EXPECT_EQ(SoundLoadWav("a.wav", 0), -1);
    EXPECT_EQ(SoundLoadWav("a.wav", 0), -1);
    EXPECT_EQ(FakeCallCount("FileOpenRead"), opens);
    // Only a new open frees the slots.
    EXPECT_EQ(SoundOpen(), 1);
    EXPECT_EQ(FakeAudioLiveBuffers(), 0);
    EXPECT_EQ(SoundLoadWav("a.wav", 0), 0);
}

// A file that fails before the slot is claimed leaves the slot for the next load.
TEST_F(SoundTest, UnreadableFilesGiveMinusOneAndLeaveTheSlotFree)
{
    Bytes samples = Samples(100);
    struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        {"not PCM", Riff({Chunk("fmt ", Format(3, 1, 11025, 32)), Chunk("data", samples)})},
        {"another form",
         Riff({Chunk("fmt ", Format(1, 1, 11025, 8)), Chunk("data", samples)}, "AVI ")},
        {"data before format",
         Riff({Chunk("data", samples), Chunk("fmt ", Format(1, 1, 11025, 8))})},
        {"no data", Riff({Chunk("fmt ", Format(1, 1, 11025, 8))})},
        {"no format", Riff({Chunk("data", samples)})},
        {"ends inside the format", Riff({Chunk("fmt ", Format(1, 1, 11025, 8, false))})},
        {"empty", Bytes{}},
        {"not RIFF", Bytes(64, 'x')},
        {"data shorter than declared",
         Riff({Chunk("fmt ", Format(1, 1, 11025, 8)), Chunk("data", 1000, Samples(10))})},
        {"data over the limit",
         Riff({Chunk("fmt ", Format(1, 1, 11025, 8)), Chunk("data", 0xFFFFFFF0u, Samples(10))})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Load(c.file), -1);
        EXPECT_TRUE(SlotIs(0, 0, false));
    }
    EXPECT_EQ(FakeCallCount("SoundCreateBuffer"), 0);
    EXPECT_EQ(Load(PlainWave(samples)), 0);
}

TEST_F(SoundTest, SampleDataOverSixteenMegabytesIsRefusedEvenWhenPresent)
{
    Bytes big(SOUND_MAX_DATA_BYTES + 2, 0x80);
    EXPECT_EQ(Load(PlainWave(big)), -1);
    EXPECT_TRUE(SlotIs(0, 0, false));
    big.resize(SOUND_MAX_DATA_BYTES);
    EXPECT_EQ(Load(PlainWave(big)), 0);
    EXPECT_EQ(g_soundSlots[0].byteLength, SOUND_MAX_DATA_BYTES);
}

TEST_F(SoundTest, ChunkLayoutsThatLoad)
{
    Bytes samples = Samples(33);
    Bytes oddFormat = Format(1, 1, 11025, 8);
    oddFormat.push_back(0x55);
    struct Case {
        const char* what;
        Bytes file;
    } cases[] = {
        // The 18-byte format read runs two bytes into the data chunk's header;
        // leaving the format chunk steps back to where the data chunk starts.
        {"16-byte format",
         Riff({Chunk("fmt ", Format(1, 1, 11025, 8, false)), Chunk("data", samples)})},
        {"chunk before format",
         Riff({Chunk("LIST", Samples(9)), Chunk("fmt ", Format(1, 1, 11025, 8)),
               Chunk("data", samples)})},
        {"chunk between", Riff({Chunk("fmt ", Format(1, 1, 11025, 8)), Chunk("fact", Samples(4)),
                                Chunk("data", samples)})},
        {"odd format chunk, padded", Riff({Chunk("fmt ", oddFormat), Chunk("data", samples)})},
        {"data of another form first",
         [&] {
             Bytes file = Chunk("RIFF", [] {
                 Bytes other{'A', 'V', 'I', ' '};
                 Bytes data = Chunk("data", Samples(5));
                 other.insert(other.end(), data.begin(), data.end());
                 return other;
             }());
             Bytes wave = PlainWave(samples);
             file.insert(file.end(), wave.begin(), wave.end());
             return file;
         }()},
    };
    int id = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_EQ(Load(c.file), id);
        EXPECT_EQ(BufferBytes(id), samples);
        ++id;
    }
}

// The reader reads forwards in blocks and can step back only a little, so a
// short format chunk (16 bytes, or the old 14-byte layout without the bits
// field) that ends near a block's edge is the hard case.
TEST_F(SoundTest, AShortFormatChunkAcrossTheReadersBlockEdgeLoads)
{
    Bytes samples = Samples(50);
    for (size_t formatSize : {16u, 14u}) {
        Bytes format = Format(1, 1, 11025, 8, false);
        format.resize(formatSize);
        for (size_t filler = 4040; filler < 4080; ++filler) {
            SCOPED_TRACE(std::to_string(formatSize) + "-byte format after " +
                         std::to_string(filler) + " bytes");
            ASSERT_EQ(SoundOpen(), 1);
            Bytes file = Riff(
                {Chunk("LIST", Bytes(filler, 1)), Chunk("fmt ", format), Chunk("data", samples)});
            ASSERT_EQ(Load(file), 0);
            EXPECT_EQ(BufferBytes(0), samples);
        }
    }
    Bytes large = Samples(100000, 9);
    ASSERT_EQ(SoundOpen(), 1);
    ASSERT_EQ(Load(PlainWave(large)), 0);
    EXPECT_EQ(BufferBytes(0), large);
}

TEST_F(SoundTest, ALockInTwoRegionsStillCopiesTheWholeSound)
{
    Bytes samples = Samples(10);
    FakeAudioSetWriteCursor(7);
    ASSERT_EQ(Load(PlainWave(samples)), 0);
    // The first region starts at the write cursor and takes the sound's start.
    Bytes expected = {samples[3], samples[4], samples[5], samples[6], samples[7],
                      samples[8], samples[9], samples[0], samples[1], samples[2]};
    EXPECT_EQ(BufferBytes(0), expected);
}

TEST_F(SoundTest, FailuresAfterTheClaimKeepTheSlotClaimed)
{
    Bytes file = PlainWave(Samples(16));
    FakeFailCall("SoundCreateBuffer", PLAT_SOUND_ERR_GENERIC, 0, 1);
    EXPECT_EQ(Load(file), -1);
    EXPECT_TRUE(SlotIs(0, 1, false));
    FakeFailCall("SoundBufferLock", PLAT_SOUND_ERR_GENERIC, 0, 1);
    EXPECT_EQ(Load(file), -1);
    EXPECT_TRUE(SlotIs(1, 1, true));
    FakeFailCall("SoundBufferUnlock", PLAT_SOUND_ERR_GENERIC, 0, 1);
    EXPECT_EQ(Load(file), -1);
    EXPECT_TRUE(SlotIs(2, 1, true));
    EXPECT_EQ(Load(file), 3);
    // A data chunk too small for a buffer fails at creation, like the platform's.
    EXPECT_EQ(Load(PlainWave(Samples(2))), -1);
    EXPECT_TRUE(SlotIs(4, 1, false));
    EXPECT_EQ(g_soundSlots[4].byteLength, 2u);
}

TEST_F(SoundTest, PlayRewindsThenPlaysSoAPlayingSoundStartsOver)
{
    ASSERT_EQ(Load(PlainWave(Samples(100))), 0);
    PlatSoundBuffer buffer = g_soundSlots[0].buffer;
    FakeClearCallLog();
    EXPECT_EQ(SoundPlay(0, 0), 1);
    ASSERT_EQ(PlatSoundBufferSetCurrentPosition(buffer, 60), 0); // half-way through
    EXPECT_EQ(SoundPlay(0, 0), 1);
    const FakeSoundBufferInfo* info = FakeAudioBuffer(buffer);
    EXPECT_EQ(info->position, 0u);
    EXPECT_EQ(info->playCount, 2);
    EXPECT_TRUE(info->playing);
    EXPECT_FALSE(info->looping);
    EXPECT_EQ(FakeCallLog(),
              (std::vector<std::string>{"SoundBufferSetCurrentPosition", "SoundBufferPlay",
                                        "SoundBufferSetCurrentPosition",
                                        "SoundBufferSetCurrentPosition", "SoundBufferPlay"}));

    FakeFailCall("SoundBufferSetCurrentPosition", PLAT_SOUND_ERR_GENERIC, 0, 1);
    EXPECT_EQ(SoundPlay(0, 0), 0);
    FakeFailCall("SoundBufferPlay", PLAT_SOUND_ERR_GENERIC, 0, 1);
    EXPECT_EQ(SoundPlay(0, 0), 0);
    EXPECT_EQ(info->playCount, 2);
}

TEST_F(SoundTest, IdsWithoutASoundPlayNothing)
{
    FakeClearCallLog();
    EXPECT_EQ(SoundPlay(SOUND_NONE, 0), 0);
    EXPECT_EQ(SoundPlay(SOUND_SLOT_COUNT, 0), 0);
    EXPECT_EQ(SoundPlay(5, 0), 1);
    EXPECT_TRUE(FakeCallLog().empty());
}

TEST_F(SoundTest, AfterDeleteAllPlaysAreSilentAndSlotsStayClaimed)
{
    Bytes file = PlainWave(Samples(30));
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(Load(file), i);
    }
    SoundPlay(1, 0);
    EXPECT_EQ(SoundDeleteAll(), 1);
    EXPECT_EQ(FakeAudioLiveBuffers(), 0);
    int plays = FakeAudioTotalPlays();
    for (int id = 0; id < SOUND_SLOT_COUNT; ++id) {
        EXPECT_EQ(SoundPlay(id, 0), 1);
    }
    EXPECT_EQ(FakeAudioTotalPlays(), plays);
    EXPECT_EQ(Load(file), 3);
    EXPECT_EQ(g_soundSlots[1].byteLength, 30u);
}

TEST_F(SoundTest, StopAllStopsAndRewindsWithoutReleasing)
{
    ASSERT_EQ(Load(PlainWave(Samples(30))), 0);
    SoundPlay(0, PLAT_SOUND_PLAY_LOOPING);
    PlatSoundBufferSetCurrentPosition(g_soundSlots[0].buffer, 9);
    EXPECT_EQ(SoundStopAll(), 1);
    const FakeSoundBufferInfo* info = FakeAudioBuffer(g_soundSlots[0].buffer);
    EXPECT_FALSE(info->playing);
    EXPECT_EQ(info->position, 0u);
    EXPECT_FALSE(info->released);
}

TEST_F(SoundTest, TheDeviceIsMadeOnceInTheProgramsLife)
{
    EXPECT_EQ(SoundOpen(), 1);
    EXPECT_EQ(FakeAudioDevicesCreated(), 1);
    EXPECT_EQ(SoundClose(), 1);
    EXPECT_EQ(FakeAudioLiveDevices(), 0);
    EXPECT_EQ(g_soundDevice, nullptr);
    // After the close nothing comes back: loads fail without touching the file.
    EXPECT_EQ(SoundOpen(), 1);
    EXPECT_EQ(FakeAudioDevicesCreated(), 1);
    int opens = FakeCallCount("FileOpenRead");
    EXPECT_EQ(Load(PlainWave(Samples(8))), -1);
    EXPECT_EQ(FakeCallCount("FileOpenRead"), opens);
}

class SoundOpenTest : public GameTest {};

TEST_F(SoundOpenTest, AFailedCreationIsNotRetried)
{
    FakeFailCall("SoundDeviceCreate", PLAT_SOUND_ERR_NO_DRIVER);
    EXPECT_EQ(SoundOpen(), 0);
    EXPECT_EQ(g_soundDevice, nullptr);
    EXPECT_EQ(SoundOpen(), 1);
    EXPECT_EQ(FakeCallCount("SoundDeviceCreate"), 1);
    EXPECT_EQ(SoundLoadWav("x.wav", SOUND_LOAD_FLAGS), -1);
    EXPECT_EQ(SoundPlay(0, 0), 1);
    EXPECT_EQ(SoundClose(), 1);
    EXPECT_EQ(FakeCallCount("SoundDeviceRelease"), 0);
}

TEST_F(SoundOpenTest, ADeviceWhoseLevelCannotBeSetIsHeldUntilClose)
{
    FakeFailCall("SoundSetCooperativeLevel", PLAT_SOUND_ERR_GENERIC);
    EXPECT_EQ(SoundOpen(), 0);
    EXPECT_NE(g_soundDevice, nullptr);
    SoundClose();
    EXPECT_EQ(FakeAudioLiveDevices(), 0);
}

TEST_F(SoundTest, CloseReleasesEveryBufferAndTheDevice)
{
    Bytes file = PlainWave(Samples(30));
    for (int i = 0; i < 3; ++i) {
        ASSERT_EQ(Load(file), i);
        SoundPlay(i, 0);
    }
    EXPECT_EQ(SoundClose(), 1);
    EXPECT_EQ(FakeAudioLiveBuffers(), 0);
    EXPECT_EQ(FakeAudioLiveDevices(), 0);
    for (const SoundSlot& slot : g_soundSlots) {
        EXPECT_EQ(slot.buffer, nullptr);
    }
    EXPECT_EQ(g_soundSlots[2].inUse, 1);
}

} // namespace
