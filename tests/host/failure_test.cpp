// When a sound stays silent, the reason is on record, per thread.
#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

#include "audio/engine.h"
#include "base/failure.h"
#include "tests/host/fake_wave_device.h"
#include "tests/host/wav_builder.h"

namespace {

using wav::Bytes;

// Every failure line of every thread, as a debug viewer would show them.
std::mutex g_lines_lock;
std::vector<std::string> g_lines;
void Collect(const std::string& line) {
    std::lock_guard g(g_lines_lock);
    g_lines.push_back(line);
}
std::vector<std::string> Lines() {
    std::lock_guard g(g_lines_lock);
    return g_lines;
}

TEST(Failure, TheEngineSaysWhyItRefusedOrWhySoundIsSilent) {
    fake::WaveDevice device;
    fake::Clock clock;
    audio::PlaybackEngine engine(device, clock);
    const auto play = [&](const Bytes& b) {
        base::ClearLastFailure();
        return engine.Play({b.data(), std::int32_t(b.size()), 0});
    };
    EXPECT_EQ(play(Bytes(64, 'x')), 0);
    EXPECT_EQ(base::LastFailure(), "neither RIFF/WAVE nor MIDI data");
    EXPECT_EQ(play(wav::Builder().Chunk("fmt ", wav::PcmFormat()).Chunk("LIST", Bytes(40, 1)).Build()), 0);
    EXPECT_NE(base::LastFailure().find("data chunk"), std::string::npos) << base::LastFailure();
    // Without a device each sound is taken and ends silently at its time-out,
    // and each player says why once, on its own thread: the calls that would
    // fail for want of a handle are not made.
    g_lines.clear();
    base::SetFailureObserver(&Collect);
    device.devices = 0;
    EXPECT_EQ(play(wav::SimpleWav(wav::Samples(audio::kBufferBytes * 30))), 1);
    EXPECT_EQ(play(wav::SimpleWav(wav::Samples(100))), 1);
    ASSERT_TRUE(fake::Eventually([&] { return clock.waiting() == 2; }));
    clock.Advance(8888);
    ASSERT_TRUE(fake::Eventually([&] { return engine.registry().size() == 0; }));
    engine.Play({nullptr, 0, 0});  // one more line, from this thread
    base::SetFailureObserver(nullptr);
    const std::string silent = "no waveform output device: the sound plays silently";
    EXPECT_EQ(Lines(), (std::vector<std::string>{silent, silent, "no sound data"}));
    // A sound that plays leaves no reason behind.
    device.devices = 1;
    EXPECT_EQ(play(wav::SimpleWav(wav::Samples(100))), 1);
    EXPECT_EQ(base::LastFailure(), "");
    engine.Stop();
    EXPECT_TRUE(engine.ShutdownStop());
}

TEST(Failure, EachThreadKeepsItsOwnLastReason) {
    base::ClearLastFailure();
    EXPECT_FALSE(base::ReportFailure("here"));
    std::string seen_there;
    std::thread([&] {
        seen_there = base::LastFailure();
        base::ReportFailure("there");
    }).join();
    EXPECT_EQ(seen_there, "");
    EXPECT_EQ(base::LastFailure(), "here");
}

}  // namespace
