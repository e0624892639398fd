// When a sound stays silent, the reason is on record, per thread.
#include <gtest/gtest.h>

#include <thread>

#include "audio/engine.h"
#include "base/failure.h"
#include "tests/host/fake_wave_device.h"
#include "tests/host/wav_builder.h"

namespace {

using wav::Bytes;

TEST(Failure, TheEngineSaysWhyItRefusedOrWhySoundIsSilent) {
    fake::WaveDevice device;
    fake::Clock clock;
    audio::PlaybackEngine engine(device, clock);
    const auto play = [&](const Bytes& b) {
        shell::ClearLastFailure();
        return engine.Play({b.data(), std::int32_t(b.size()), 0});
    };
    EXPECT_EQ(play(Bytes(64, 'x')), 0);
    EXPECT_EQ(shell::LastFailure(), "neither RIFF/WAVE nor MIDI data");
    EXPECT_EQ(play(wav::Builder().Chunk("fmt ", wav::PcmFormat()).Chunk("LIST", Bytes(40, 1)).Build()), 0);
    EXPECT_NE(shell::LastFailure().find("data chunk"), std::string::npos) << shell::LastFailure();
    // Without a device the sound is taken (and ends silently), with its reason kept.
    device.devices = 0;
    EXPECT_EQ(play(wav::SimpleWav(wav::Samples(100))), 1);
    EXPECT_NE(shell::LastFailure().find("no waveform output device"), std::string::npos) << shell::LastFailure();
    // A sound that plays leaves no reason behind.
    device.devices = 1;
    EXPECT_EQ(play(wav::SimpleWav(wav::Samples(100))), 1);
    EXPECT_EQ(shell::LastFailure(), "");
    engine.Stop();
    clock.Advance(10000);  // the silent player's time-out
    EXPECT_TRUE(engine.ShutdownStop());
}

TEST(Failure, EachThreadKeepsItsOwnLastReason) {
    shell::ClearLastFailure();
    EXPECT_FALSE(shell::ReportFailure("here"));
    std::string seen_there;
    std::thread([&] {
        seen_there = shell::LastFailure();
        shell::ReportFailure("there");
    }).join();
    EXPECT_EQ(seen_there, "");
    EXPECT_EQ(shell::LastFailure(), "here");
}

}  // namespace
