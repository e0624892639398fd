// play_sound and stop_sound with MIDI data under Wine, which has no MIDI
// output here: only the path without a device is real. The player against a
// real stream runs where a MIDI device exists and is skipped elsewhere.
#include <windows.h>
#include <mmsystem.h>
#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "audio/midi_player.h"
#include "audio/sound.h"
#include "audio/winmm_midi_device.h"
#include "base/service.h"
#include "shell/shell.h"
#include "tests/host/midi_builder.h"

namespace {

using audio::play_sound;
using audio::stop_sound;

// A ByteBlob laid out in memory as the program's constants are.
struct OwnedBlob {
    explicit OwnedBlob(const std::vector<std::uint8_t>& bytes) : storage(8 + bytes.size()) {
        const ByteBlob head{1, std::uint32_t(bytes.size())};
        std::memcpy(storage.data(), &head, 8);
        std::memcpy(storage.data() + 8, bytes.data(), bytes.size());
    }
    const ByteBlob* blob() const { return reinterpret_cast<const ByteBlob*>(storage.data()); }
    std::vector<std::uint8_t> storage;
};

// Half a second of a scale at 120 beats a minute.
midi::Bytes Scale() {
    midi::Track t;
    t.Tempo(0, 500000).Program(0, 0, 0).Control(0, 0, 7, 100);
    for (int i = 0; i < 8; ++i) t.NoteOn(0, 0, 60 + i).NoteOff(24, 0, 60 + i);
    return midi::File(0, 96, {t.End()});
}

int ThreadsOfThisProcess() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snap == INVALID_HANDLE_VALUE) return -1;
    int n = 0;
    THREADENTRY32 te{};
    te.dwSize = sizeof te;
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te))
        if (te.th32OwnerProcessID == GetCurrentProcessId()) ++n;
    CloseHandle(snap);
    return n;
}

// The system's own helper threads come and go around the first use of the
// multimedia library: count once the number holds still for 200 ms.
int SettledThreads() {
    int last = ThreadsOfThisProcess();
    for (int i = 0; i < 30; ++i) {
        Sleep(100);
        const int now = ThreadsOfThisProcess();
        if (now == last && i > 0) break;
        last = now;
    }
    return last;
}

// The value the next new handle gets. Freed handle values are handed out
// again, so it moves up only while handles are left open.
std::uintptr_t NextHandleValue() {
    HANDLE e = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    CloseHandle(e);
    return reinterpret_cast<std::uintptr_t>(e);
}

bool NoMidiOutput() { return midiOutGetNumDevs() == 0; }

class MidiSound : public testing::Test {
protected:
    void SetUp() override { audio::Connect(&shell::ServiceEntry); }
    void TearDown() override { audio::ShutdownStop(); }
};

TEST_F(MidiSound, WithoutADeviceAValidFileIsTakenNothingPlaysAndNothingStaysBehind) {
    if (!NoMidiOutput()) GTEST_SKIP() << "this machine has MIDI output";
    const OwnedBlob song(Scale());
    // The engine and its devices are made on first use; count after that.
    ASSERT_TRUE(play_sound(song.blob()));
    stop_sound();
    const int threads = SettledThreads();
    const std::uintptr_t next_handle = NextHandleValue();
    ASSERT_GT(threads, 0);

    const DWORD t0 = GetTickCount();
    for (int i = 0; i < 20; ++i) {
        EXPECT_TRUE(play_sound(song.blob()));
        EXPECT_TRUE(play_sound(song.blob(), true)) << "a second MIDI sound replaces the first";
        EXPECT_EQ(audio::RunningPlayers(), 0u) << "nothing plays";
        stop_sound();
    }
    EXPECT_LT(GetTickCount() - t0, 2000u) << "no stop waits for a device that is not there";
    EXPECT_EQ(SettledThreads(), threads);
    EXPECT_EQ(NextHandleValue(), next_handle);
}

TEST_F(MidiSound, ABrokenFileIsRefused) {
    midi::Bytes past_end = Scale();
    past_end.erase(past_end.end() - 3, past_end.end());  // the track's length runs past the data
    midi::Bytes header_length = Scale();
    header_length[7] = 5;
    midi::Bytes not_a_track = Scale();
    not_a_track[14] = 'X';
    for (const midi::Bytes& bad : {past_end, header_length, not_a_track, midi::Bytes{'M', 'T', 'h', 'd', 0, 0, 0, 6}}) {
        const OwnedBlob b(bad);
        EXPECT_FALSE(play_sound(b.blob()));
    }
    EXPECT_EQ(audio::RunningPlayers(), 0u);
}

TEST_F(MidiSound, AFileOnDiskIsReadWhole) {
    if (!NoMidiOutput()) GTEST_SKIP() << "this machine has MIDI output";
    char dir[MAX_PATH], path[MAX_PATH];
    GetTempPathA(MAX_PATH, dir);
    GetTempFileNameA(dir, "mid", 0, path);
    const midi::Bytes bytes = Scale();
    FILE* f = std::fopen(path, "wb");
    ASSERT_NE(f, nullptr);
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    EXPECT_TRUE(play_sound(std::string(path)));
    EXPECT_TRUE(DeleteFileA(path)) << "play_sound must not keep the file open";
}

// A stream opens exactly where there is a MIDI device (under the test Wine
// there is none): where one exists, the song plays through and the player
// re-arms; where none does, the player says so and keeps nothing.
TEST(WinmmMidi, AStreamOpensWhereThereIsADeviceAndOnlyThere) {
    const bool none = NoMidiOutput();
    audio::WinmmMidiDevice device;
    if (none) {
        EXPECT_EQ(device.Open([](void*, audio::MidiHandle, std::uint32_t, audio::MidiHeader*) {}, nullptr), 0u);
    }
    audio::SteadyClock clock;
    audio::MidiPlayer player(device, clock);
    const midi::Bytes song = Scale();
    if (none) {
        EXPECT_EQ(player.Open(song), audio::MidiOpen::kNoStream);
        EXPECT_FALSE(player.loaded());
        EXPECT_FALSE(player.worker_running());
        return;
    }
    ASSERT_EQ(player.Open(song), audio::MidiOpen::kOpened);
    ASSERT_TRUE(player.Start(false));
    const DWORD until = GetTickCount() + 5000;
    while (player.Sounding() && GetTickCount() < until) Sleep(10);
    EXPECT_FALSE(player.Sounding()) << "the song ended by itself";
    EXPECT_TRUE(player.loaded());
    player.Close();
}

}  // namespace
