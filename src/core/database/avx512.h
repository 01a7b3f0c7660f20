#pragma once

// The AVX-512 path of the UTF-8 decoding: what it is compiled for and when it may run. Other
// processors and compilers take the byte-wise loop. (Encoding has no such path: it gained about
// an eighth on 64 MB, too little for code that most processors never run.)
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))

#define LEXORA_AVX512 1
#define LEXORA_AVX512_TARGET __attribute__((target("avx512f,avx512bw,avx512vbmi,avx512vbmi2,popcnt")))

#include <QtGlobal>

#include <immintrin.h>

#include <cstddef>

namespace lexora::avx512 {

// True when the processor has every instruction the paths use and LEXORA_NO_AVX512 is not set
// (which runs the byte-wise loops anywhere, for the tests and for comparison).
inline bool supported()
{
    static const bool has = __builtin_cpu_supports("avx512bw") && __builtin_cpu_supports("avx512vbmi")
                            && __builtin_cpu_supports("avx512vbmi2") && __builtin_cpu_supports("popcnt")
                            && qEnvironmentVariableIsEmpty("LEXORA_NO_AVX512");
    return has;
}

// All ones in the lanes below count (at most 64).
LEXORA_AVX512_TARGET inline __mmask64 lanesBelow(std::size_t count)
{
    return count >= 64 ? ~0ULL : (1ULL << count) - 1;
}

} // namespace lexora::avx512

#endif
