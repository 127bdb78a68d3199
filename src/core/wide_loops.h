#pragma once

// A column's loops are exact in any register width (no contraction, no reordering of a sum):
// where the machine has 4-wide registers, the loader picks a copy of the function built for
// them, and the 2-wide copy serves every other x86-64. The bridged core, which stands for
// the WebAssembly build, keeps one copy, so that its tests run the copy other machines take.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(TAVIMOR_STD_BRIDGE)
#define TAVIMOR_WIDE_LOOPS [[gnu::target_clones("avx2", "default")]]
#else
#define TAVIMOR_WIDE_LOOPS
#endif

// A lambda that holds a column's loop, inlined into the copy that calls it so that it is
// built for the same registers.
#if defined(__GNUC__)
#define TAVIMOR_INLINED_BODY __attribute__((always_inline))
#else
#define TAVIMOR_INLINED_BODY
#endif
