#pragma once

#include <cstddef>
#include <cstdint>

// The SHA-1 compression of consecutive 64-byte blocks into a chaining state, in the
// processor's SHA instructions and in portable code; both give the same state.
void Sha1TransformPortable(uint32_t (&state)[5], const uint8_t* blocks, size_t blockCount);

// True when the processor has the SHA instructions and the vector extensions they need.
bool Sha1ProcessorHasInstructions();
// Only to be called when Sha1ProcessorHasInstructions() is true.
void Sha1TransformCpu(uint32_t (&state)[5], const uint8_t* blocks, size_t blockCount);
