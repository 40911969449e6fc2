#pragma once

#include "core/drawing/Color.h"

#include <cstdint>
#include <string>

inline constexpr double RealEps = 1e-12;

// The fractional part with the sign of x.
double GetFraction(double x);
// The fractional part in [0, 1).
double GetPositiveFraction(double x);
// The nearest whole number, halves upwards (-2.5 gives -2).
double RoundHalfUp(double x);
double ClampReal(double x, double min, double max);

// Significant bits of a value read as unsigned: 0 for 0, 9 for 256.
int32_t GetBitLength(int32_t n);
// `count` bits of `value` from bit `shift` (an arithmetic shift).
int32_t GetBitField(int32_t value, int32_t shift, int32_t count);
// `value` with its `count` bits at `shift` replaced by `field`; a field too wide for
// them is taken as 0.
int32_t SetBitField(int32_t value, int32_t field, int32_t shift, int32_t count);
void SortThreeInts(int32_t& a, int32_t& b, int32_t& c);

// First and last index of the block of n items that holds index i; i when n is 0.
int32_t GetBlockStart(int32_t i, int32_t n);
int32_t GetBlockEnd(int32_t i, int32_t n);

// Integers with the thousand separator of the format settings.
std::string IntToSeparatedText(int32_t n);
std::string Int64ToSeparatedText(int64_t n);
// Right-aligned with blanks to at least `width` characters.
std::string IntToWidthText(int32_t n, int32_t width);
// Zero-padded to at least `digits` digits, the minus sign before the zeros.
std::string IntToDigitsText(int32_t n, int32_t digits);
// x with about `digits` significant digits, in plain form or with an exponent that is a
// multiple of 3 ("1.23e3"). Traced; panics on digits below 1 or decimals below 0, "?".
std::string AlignRealToTextPow(int32_t digits, int32_t decimals, double x);

// Each channel: the weighted sum rounded half up and capped at 255; the top byte is 0.
TColor BlendColors(TColor a, TColor b, double weightA, double weightB);
uint8_t BlendColorChannel(uint8_t channelA, uint8_t channelB, double weightA, double weightB);
// Exchanges red and blue; the top byte becomes 0.
TColor SwapRedAndBlue(TColor color);

// The Windows attributes of a path, or 0 when they cannot be read.
uint32_t GetFileAttributesOrZero(const std::string& path);
