#include "core/text/MyMath.h"

#include "core/errors/Traced.h"
#include "core/text/FormatSettings.h"

#include "host/FileSystem.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

uint32_t FieldMask(int32_t count)
{
    const int32_t bits = std::clamp(count, 0, 32);
    return bits == 32 ? ~0u : (1u << bits) - 1u;
}

int32_t ClampShift(int32_t shift)
{
    return std::clamp(shift, 0, 31);
}

std::string MagnitudeDigits(int64_t n)
{
    const uint64_t magnitude = n < 0 ? 0 - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
    return std::to_string(magnitude);
}

// x (not 0, finite) with an exponent that is a multiple of 3 once its integer digits
// reach the asked-for count.
std::string RealToPowText(int32_t digits, int32_t decimals, double x)
{
    int32_t e = static_cast<int32_t>(std::trunc(std::log10(std::fabs(x))));
    int32_t n = e / 3 * 3;
    long double m = x / std::pow(10.0L, n);
    const double r = RoundHalfUp(static_cast<double>(m));
    if (std::fabs(r) == 1000) {
        m = x < 0 ? -1 : 1;
        n += 3;
        e += 1;
    }
    if (digits > e)
        return RealToNumberText(x, digits, decimals);
    const int32_t k = static_cast<int32_t>(std::trunc(std::log10(std::fabs(r))));
    const int32_t mantissaDecimals = std::max(0, digits - k - 1);
    const std::string mantissa = RealToNumberText(m, digits, mantissaDecimals);
    return n == 0 ? mantissa : mantissa + "e" + std::to_string(n);
}

uint8_t Channel(TColor color, int shift)
{
    return static_cast<uint8_t>(static_cast<uint32_t>(color) >> shift);
}

} // namespace

double GetFraction(double x)
{
    return x - std::trunc(x);
}

double GetPositiveFraction(double x)
{
    const double fraction = GetFraction(x);
    return fraction < 0 ? fraction + 1 : fraction;
}

double RoundHalfUp(double x)
{
    return GetPositiveFraction(x) >= 0.5 ? std::ceil(x) : std::floor(x);
}

double ClampReal(double x, double min, double max)
{
    if (x < min)
        return min;
    if (x > max)
        return max;
    return x;
}

int32_t GetBitLength(int32_t n)
{
    int32_t length = 0;
    for (uint32_t bits = static_cast<uint32_t>(n); bits != 0; bits >>= 1)
        ++length;
    return length;
}

int32_t GetBitField(int32_t value, int32_t shift, int32_t count)
{
    return static_cast<int32_t>(static_cast<uint32_t>(value >> ClampShift(shift)) & FieldMask(count));
}

int32_t SetBitField(int32_t value, int32_t field, int32_t shift, int32_t count)
{
    const uint32_t fieldMask = FieldMask(count);
    const uint32_t fieldBits = static_cast<uint32_t>(field) > fieldMask ? 0u : static_cast<uint32_t>(field);
    const int32_t at = ClampShift(shift);
    const uint32_t cleared = static_cast<uint32_t>(value) & ~(fieldMask << at);
    return static_cast<int32_t>(cleared | (fieldBits << at));
}

void SortThreeInts(int32_t& a, int32_t& b, int32_t& c)
{
    if (b < a)
        std::swap(a, b);
    if (c < a)
        std::swap(a, c);
    if (c < b)
        std::swap(b, c);
}

int32_t GetBlockStart(int32_t i, int32_t n)
{
    if (n == 0)
        return i;
    return static_cast<int32_t>(int64_t{i} / n * n);
}

int32_t GetBlockEnd(int32_t i, int32_t n)
{
    if (n == 0)
        return i;
    const double blocks = std::floor(static_cast<double>(i) / n + 1);
    return static_cast<int32_t>(RoundHalfUp(n * blocks - 1));
}

std::string IntToSeparatedText(int32_t n)
{
    return Int64ToSeparatedText(n);
}

std::string Int64ToSeparatedText(int64_t n)
{
    std::string text = n < 0 ? "-" : "";
    text += InsertThousandSeparators(MagnitudeDigits(n));
    return text;
}

std::string IntToWidthText(int32_t n, int32_t width)
{
    const std::string text = std::to_string(n);
    const size_t wanted = static_cast<size_t>(std::max(width, 0));
    return text.size() < wanted ? std::string(wanted - text.size(), ' ') + text : text;
}

std::string IntToDigitsText(int32_t n, int32_t digits)
{
    const std::string magnitude = MagnitudeDigits(n);
    const size_t wanted = static_cast<size_t>(std::max(digits, 0));
    std::string text = n < 0 ? "-" : "";
    if (magnitude.size() < wanted)
        text.append(wanted - magnitude.size(), '0');
    text += magnitude;
    return text;
}

std::string AlignRealToTextPow(int32_t digits, int32_t decimals, double x)
{
    TTraced trace;
    std::string result = "?";
    try {
        if (digits <= 0 || decimals < 0)
            trace.Panic("Invalid number of digits, or precesion.");
        else if (x == 0)
            result = "0";
        else if (!std::isfinite(x))
            result = RealToNumberText(x, digits, decimals);
        else
            result = RealToPowText(digits, decimals, x);
    }
    TRACED_CATCH(trace)
    return result;
}

uint8_t BlendColorChannel(uint8_t channelA, uint8_t channelB, double weightA, double weightB)
{
    const double blended = RoundHalfUp(channelA * weightA + channelB * weightB);
    return static_cast<uint8_t>(std::clamp(blended, 0.0, 255.0));
}

TColor BlendColors(TColor a, TColor b, double weightA, double weightB)
{
    uint32_t blended = 0;
    for (int shift : {0, 8, 16})
        blended |= uint32_t{BlendColorChannel(Channel(a, shift), Channel(b, shift), weightA, weightB)} << shift;
    return static_cast<TColor>(blended);
}

TColor SwapRedAndBlue(TColor color)
{
    const uint32_t green = uint32_t{Channel(color, 8)} << 8;
    return static_cast<TColor>(uint32_t{Channel(color, 16)} | green | uint32_t{Channel(color, 0)} << 16);
}

uint32_t GetFileAttributesOrZero(const std::string& path)
{
    const uint32_t attributes = host::GetFileAttributes(path);
    return attributes == host::INVALID_FILE_ATTRIBUTES ? 0 : attributes;
}
