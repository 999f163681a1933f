#pragma once

// Marks a hot loop for a copy compiled for AVX2 beside the baseline one; the loader picks the
// copy the processor can run. Both copies perform the same single-precision operations in the
// same order (fused multiply-add is not enabled), so results do not depend on the copy taken.
#if defined(__x86_64__) && defined(__GNUC__)
#define TAVROK_AVX2_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define TAVROK_AVX2_CLONES
#endif
