// play_sound and stop_sound on the real waveform output under Wine, checked
// by recording the null sink that is the sound card here.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "audio/sound.h"
#include "base/service.h"
#include "shell/shell.h"
#include "tests/win/recorder.h"

namespace {

using audio::play_sound;
using audio::stop_sound;

// A ByteBlob laid out in memory as the program's constants are.
struct OwnedBlob {
    explicit OwnedBlob(const std::vector<std::uint8_t>& bytes) : storage(8 + bytes.size()) {
        ByteBlob head{1, std::uint32_t(bytes.size())};
        std::memcpy(storage.data(), &head, 8);
        std::memcpy(storage.data() + 8, bytes.data(), bytes.size());
    }
    const ByteBlob* blob() const { return reinterpret_cast<const ByteBlob*>(storage.data()); }
    std::vector<std::uint8_t> storage;
};

class Audio : public testing::Test {
protected:
    void SetUp() override {
        audio::Connect(&shell::ServiceEntry);
        // The test environment always has its null sink: no card is a fault of the run.
        ASSERT_GT(waveOutGetNumDevs(), 0u) << "no waveform output: is the sound server running?";
        ASSERT_GT(waveInGetNumDevs(), 0u) << "no waveform input to record the sink with";
    }
    void TearDown() override { audio::ShutdownStop(); }
    static void WaitForPlayers(DWORD ms = 10000) {
        const DWORD until = GetTickCount() + ms;
        while (audio::RunningPlayers() > 0 && GetTickCount() < until) Sleep(10);
    }
};

TEST_F(Audio, APcmSoundIsHeardSampleForSample) {
    const auto source = wintest::ChirpSamples(22050, 300, 1800);
    const OwnedBlob wav(wintest::ChirpWav(22050, 300, 1800));
    wintest::Recorder rec;
    ASSERT_TRUE(rec.WaitUntilCapturing());
    ASSERT_TRUE(play_sound(wav.blob()));
    WaitForPlayers();
    Sleep(300);
    const auto recording = rec.Finish();
    EXPECT_GE(wintest::PiecesHeard(recording, source, 5, 0.95), 3) << "most parts sample for sample (underruns of "
                                                                       "Wine's sound server spoil a part now and then)";
    const auto span = wintest::AudibleSpan(recording);
    EXPECT_NEAR(double(span.second - span.first), 22050.0, 900.0) << "half a second of sound";
    EXPECT_EQ(audio::RunningPlayers(), 0u) << "the player ended by itself";
}

TEST_F(Audio, TwoSoundsAtOnceAreMixed) {
    const OwnedBlob low(wintest::ChirpWav(44100, 440, 440, 0.3));
    const OwnedBlob high(wintest::ChirpWav(44100, 1320, 1320, 0.3));
    wintest::Recorder rec;
    ASSERT_TRUE(rec.WaitUntilCapturing());
    ASSERT_TRUE(play_sound(low.blob()));
    ASSERT_TRUE(play_sound(high.blob()));  // no stop between: both play
    WaitForPlayers();
    const auto r = rec.Finish();
    const auto span = wintest::AudibleSpan(r);
    ASSERT_GT(span.second, span.first + 22050);
    const std::size_t mid = (span.first + span.second) / 2;
    EXPECT_GT(wintest::ToneLevel(r, mid - 4410, mid + 4410, 440), 0.1);
    EXPECT_GT(wintest::ToneLevel(r, mid - 4410, mid + 4410, 1320), 0.1);
    EXPECT_LT(wintest::ToneLevel(r, mid - 4410, mid + 4410, 880), 0.02);
}

TEST_F(Audio, StopSilencesWithinOneBuffer) {
    const OwnedBlob tone(wintest::ChirpWav(44100 * 4, 600, 600, 0.4));
    wintest::Recorder rec;
    ASSERT_TRUE(rec.WaitUntilCapturing());
    LARGE_INTEGER f, t0, t1;
    QueryPerformanceFrequency(&f);
    QueryPerformanceCounter(&t0);
    ASSERT_TRUE(play_sound(tone.blob()));
    Sleep(700);
    QueryPerformanceCounter(&t1);
    stop_sound();
    WaitForPlayers(2000);
    EXPECT_EQ(audio::RunningPlayers(), 0u);
    Sleep(300);
    const auto r = rec.Finish();
    const auto span = wintest::AudibleSpan(r);
    const double played_ms = 1000.0 * double(span.second - span.first) / 44100;
    const double asked_ms = 1000.0 * double(t1.QuadPart - t0.QuadPart) / double(f.QuadPart);
    // Start and stop pass through the same output latency; what sounds after
    // the stop is what was already queued in the device, at most one buffer
    // (87 ms) beyond what the mixer holds.
    EXPECT_LT(played_ms, asked_ms + 87 + 60) << "played " << played_ms << " ms for " << asked_ms << " ms";
    EXPECT_GT(played_ms, asked_ms - 60);
}

TEST_F(Audio, AFileStillPlaysWhenDeletedRightAfterTheCall) {
    char dir[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "snd", 0, path);
    const auto bytes = wintest::ChirpWav(22050, 500, 2500);
    FILE* file = std::fopen(path, "wb");
    ASSERT_NE(file, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
    wintest::Recorder rec;
    ASSERT_TRUE(rec.WaitUntilCapturing());
    ASSERT_TRUE(play_sound(std::string(path)));
    EXPECT_TRUE(DeleteFileA(path)) << "play_sound must not keep the file open";
    WaitForPlayers();
    Sleep(300);
    EXPECT_GE(wintest::PiecesHeard(rec.Finish(), wintest::ChirpSamples(22050, 500, 2500), 5, 0.95), 3);
}

TEST_F(Audio, ShutdownStopReturnsOnlyWhenEveryPlayerHasEnded) {
    const OwnedBlob tone(wintest::ChirpWav(44100, 700, 700, 0.2));
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(play_sound(tone.blob(), true));
    Sleep(100);
    EXPECT_EQ(audio::RunningPlayers(), 3u);
    audio::ShutdownStop();
    EXPECT_EQ(audio::RunningPlayers(), 0u);
}

// Clicking faster than sounds end: every stop-then-play opens a new device
// handle while the last one closes on its feeder thread, so handle values
// are reused across threads all the time.
TEST_F(Audio, HundredsOfStopThenPlayCyclesEndCleanly) {
    const OwnedBlob tone(wintest::ChirpWav(4410, 900, 900, 0.2));
    for (int i = 0; i < 300; ++i) {
        stop_sound();
        ASSERT_TRUE(play_sound(tone.blob()));
        if (i % 50 == 0) Sleep(20);
    }
    audio::ShutdownStop();
    EXPECT_EQ(audio::RunningPlayers(), 0u);
}

TEST_F(Audio, BadSourcesAreRefusedAndStopWithNothingPlayingIsHarmless) {
    stop_sound();
    char dir[MAX_PATH], empty[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "emp", 0, empty);  // created with length 0
    EXPECT_FALSE(play_sound(std::string(empty)));
    DeleteFileA(empty);
    EXPECT_FALSE(play_sound(std::string("C:\\no\\such\\file.wav")));
    EXPECT_FALSE(play_sound(std::string("")));
    EXPECT_FALSE(play_sound(std::string(dir)));  // a folder
    EXPECT_FALSE(play_sound(audio::SoundSource{}));
    EXPECT_FALSE(play_sound(std::int32_t{42}));
    EXPECT_FALSE(play_sound(static_cast<const ByteBlob*>(nullptr)));
    const OwnedBlob text(std::vector<std::uint8_t>(100, 'x'));
    EXPECT_FALSE(play_sound(text.blob()));
    const OwnedBlob nothing(std::vector<std::uint8_t>{});
    EXPECT_FALSE(play_sound(nothing.blob()));
    EXPECT_EQ(audio::RunningPlayers(), 0u);
}

}  // namespace
