// A sound device stuck inside its calls, as a hung driver or a frozen sound
// server leaves it: the caller's thread (the user interface) never waits on
// it, and the exit's wait ends at its bound.
#include <gtest/gtest.h>

#include <functional>
#include <future>

#include "audio/engine.h"
#include "tests/host/midi_builder.h"
#include "tests/host/stuck_devices.h"
#include "tests/host/wav_builder.h"

namespace {

using namespace std::chrono_literals;
using wav::Bytes;

// Runs `call` on a thread of its own: true when it returned within a second.
// A call still inside the device is let out, so that the test fails rather
// than hangs.
bool ReturnsAtOnce(const std::function<void()>& call, fake::Gate& gate) {
    auto done = std::async(std::launch::async, call);
    if (done.wait_for(1s) == std::future_status::ready) return true;
    gate.Open();
    return false;
}

int Play(audio::PlaybackEngine& engine, const Bytes& b) { return engine.Play({b.data(), std::int32_t(b.size()), 0}); }

TEST(StuckDevice, AnOpenThatDoesNotReturnHoldsNoClickAndNotTheExit) {
    fake::WaveDevice inner;
    fake::StuckWaveDevice device(inner, fake::kInOpen | fake::kInReset | fake::kInClose);
    fake::Clock clock;
    audio::PlaybackEngine engine(device, clock);
    const Bytes w = wav::SimpleWav(wav::Samples(audio::kBufferBytes * 40));
    int answers = 0;
    for (int click = 0; click < 4; ++click) {
        EXPECT_TRUE(ReturnsAtOnce(
            [&] {
                engine.Stop();
                answers += Play(engine, w);
            },
            device.gate))
            << "click " << click;
        ASSERT_TRUE(fake::Eventually([&] { return device.gate.inside() == click + 1; })) << "opening on its own thread";
    }
    EXPECT_EQ(answers, 4) << "each play is taken, as with a device that answers";
    bool ended = true;
    EXPECT_TRUE(ReturnsAtOnce([&] { ended = engine.ShutdownStop(100ms); }, device.gate));
    EXPECT_FALSE(ended) << "the exit gives up at its bound";
    // Once the device answers again, every player ends and lets its handle go.
    device.gate.Open();
    EXPECT_TRUE(engine.ShutdownStop());
    EXPECT_EQ(engine.registry().size(), 0u);
    for (audio::WaveHandle h = 1; h <= 4; ++h) EXPECT_TRUE(inner.Snapshot(h).closed) << h;
}

TEST(StuckDevice, AResetThatDoesNotReturnHoldsNoStopOrPlayAndNotTheExit) {
    fake::WaveDevice inner;
    fake::StuckWaveDevice device(inner, fake::kInReset | fake::kInClose);
    fake::Clock clock;
    audio::PlaybackEngine engine(device, clock);
    const Bytes w = wav::SimpleWav(wav::Samples(audio::kBufferBytes * 40));
    ASSERT_EQ(Play(engine, w), 1);
    ASSERT_TRUE(fake::Eventually([&] { return inner.Writes(1) == audio::kBufferCount; }));
    engine.Stop();  // the feeder goes into reset and stays there
    ASSERT_TRUE(fake::Eventually([&] { return device.gate.inside() == 1; }));
    int answer = 0;
    EXPECT_TRUE(ReturnsAtOnce(
        [&] {
            engine.Stop();
            answer = Play(engine, w);
        },
        device.gate));
    EXPECT_EQ(answer, 1);
    ASSERT_TRUE(fake::Eventually([&] { return inner.Writes(2) == audio::kBufferCount; }));
    bool ended = true;
    EXPECT_TRUE(ReturnsAtOnce([&] { ended = engine.ShutdownStop(100ms); }, device.gate));
    EXPECT_FALSE(ended);
    EXPECT_TRUE(fake::Eventually([&] { return device.gate.inside() == 2; }));
    device.gate.Open();
    EXPECT_TRUE(engine.ShutdownStop());
    EXPECT_EQ(engine.registry().size(), 0u);
    EXPECT_TRUE(inner.Snapshot(1).closed && inner.Snapshot(2).closed);
}

TEST(StuckDevice, AMidiStreamStuckInItsStopHoldsTheExitNoLongerThanItsBound) {
    fake::WaveDevice wave;
    fake::MidiDevice inner;
    fake::StuckMidiDevice midi(inner, fake::kInStop | fake::kInReset | fake::kInClose);
    fake::Clock clock;
    audio::PlaybackEngine engine(wave, midi, clock);
    const Bytes song = midi::File(0, 96, {midi::Track().Tempo(0, 500000).NoteOn(0, 0, 60).NoteOff(96, 0, 60).End()});
    ASSERT_EQ(Play(engine, song), 1);
    bool ended = true;
    EXPECT_TRUE(ReturnsAtOnce([&] { ended = engine.ShutdownStop(100ms); }, midi.gate));
    EXPECT_FALSE(ended);
    EXPECT_EQ(midi.gate.inside(), 1) << "the stop is made on a helper thread";
    midi.gate.Open();
    EXPECT_TRUE(engine.ShutdownStop());
    EXPECT_TRUE(inner.Snapshot(1).closed);
}

}  // namespace
