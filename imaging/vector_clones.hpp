#pragma once
// Marks a hot loop function for a second build with wider vector instructions, picked at
// load time when the processor has them. The baseline build stays the portable one.

#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__)
#define ZORBEL_VECTOR_CLONES __attribute__((target_clones("avx2", "default")))
#else
#define ZORBEL_VECTOR_CLONES
#endif
