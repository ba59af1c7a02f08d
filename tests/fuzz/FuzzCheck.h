#pragma once
// What every fuzz target shares: the entry point libFuzzer calls, and a check that ends the run
// loudly (so that the fuzzer keeps the input) when a property of the code does not hold.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

#define FUZZ_CHECK(cond)                                                                            \
    do {                                                                                            \
        if (!(cond)) {                                                                              \
            std::fprintf(stderr, "%s:%d: property does not hold: %s\n", __FILE__, __LINE__, #cond); \
            std::abort();                                                                           \
        }                                                                                           \
    } while (0)

// Reads the input front to back: small numbers for choices, then the rest as bytes.
class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : m_p(data), m_n(size) {}
    bool Empty() const { return m_n == 0; }
    size_t Left() const { return m_n; }
    uint8_t Byte() {
        if (m_n == 0) return 0;
        --m_n;
        return *m_p++;
    }
    // Up to `max` bytes.
    const uint8_t* Take(size_t max, size_t& got) {
        got = max < m_n ? max : m_n;
        const uint8_t* at = m_p;
        m_p += got;
        m_n -= got;
        return at;
    }

private:
    const uint8_t* m_p;
    size_t m_n;
};
