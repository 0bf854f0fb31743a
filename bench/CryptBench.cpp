// Entry cipher throughput on a 16 MB buffer, against memcpy of the same buffer in the same run.
// The counter "cipher/memcpy" is how many times longer enciphering takes than copying.
#include "app/Crypt.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr std::size_t kBufferSize = 16u << 20;

std::vector<std::uint8_t> Buffer()
{
    std::vector<std::uint8_t> bytes(kBufferSize);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 31 + (i >> 11));
    return bytes;
}

// The processor time of this thread, so that other programs on a busy machine do not skew
// the ratio.
double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

void BM_Memcpy(benchmark::State& state)
{
    const auto source = Buffer();
    std::vector<std::uint8_t> target(source.size());
    for (auto _ : state) {
        std::memcpy(target.data(), source.data(), source.size());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBufferSize));
}

// The cipher as entries use it, with each iteration also timing a memcpy of the same buffer,
// so that the ratio comes from one run under one machine load.
void BM_Encipher(benchmark::State& state)
{
    auto bytes = Buffer();
    std::vector<std::uint8_t> copy(bytes.size());
    double cipherSeconds = 0;
    double copySeconds = 0;
    for (auto _ : state) {
        const double start = ThreadSeconds();
        quillory::CipherKeystream(std::string_view("Secret")).Encipher(bytes);
        benchmark::ClobberMemory();
        const double middle = ThreadSeconds();
        std::memcpy(copy.data(), bytes.data(), bytes.size());
        benchmark::ClobberMemory();
        const double end = ThreadSeconds();
        cipherSeconds += middle - start;
        copySeconds += end - middle;
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBufferSize));
    state.counters["cipher/memcpy"] = cipherSeconds / copySeconds;
}

// One generator step per byte, the plain form of the same transform, for comparison.
void BM_EncipherOneStepPerByte(benchmark::State& state)
{
    auto bytes = Buffer();
    for (auto _ : state) {
        quillory::CipherKeystream keystream(std::string_view("Secret"));
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(b + keystream.Next());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * kBufferSize));
}

} // namespace

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Encipher)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EncipherOneStepPerByte)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
