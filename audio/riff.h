#pragma once
// Finds the "fmt " and "data" chunks of RIFF/WAVE bytes. Every size is
// bounded by the bytes actually given.
#include <cstdint>
#include <optional>
#include <span>

namespace audio {

struct WaveChunks {
    std::span<const std::uint8_t> format;  // body of "fmt ", unchanged
    std::span<const std::uint8_t> data;    // body of "data", cut to the bytes present
};

inline constexpr std::size_t kMinimumWaveBytes = 36;

// True when the bytes start as RIFF/WAVE (the engine's routing test).
bool LooksLikeWave(std::span<const std::uint8_t> bytes);

// nullopt when the bytes are refused: shorter than 36, not RIFF/WAVE, no
// "fmt " or no "data" chunk, or an empty "data" chunk.
std::optional<WaveChunks> FindWaveChunks(std::span<const std::uint8_t> bytes);

}  // namespace audio
