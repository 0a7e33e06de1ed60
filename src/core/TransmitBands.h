#pragma once
// Where the panel lets the transmitter key without the permissions marker:
// the amateur bands and the five single frequencies of the 5 MHz band.
#include <array>

namespace zr {

struct HzRange {
  long low;   // Hz, inclusive
  long high;  // Hz, inclusive
};

inline constexpr std::array<HzRange, 14> kTransmitRanges = {{
    {1'800'000, 2'000'000},
    {3'500'000, 4'000'000},
    {5'330'500, 5'330'500},
    {5'346'500, 5'346'500},
    {5'357'000, 5'357'000},
    {5'371'500, 5'371'500},
    {5'403'500, 5'403'500},
    {7'000'000, 7'300'000},
    {10'100'000, 10'150'000},
    {14'000'000, 14'350'000},
    {18'068'000, 18'168'000},
    {21'000'000, 21'450'000},
    {24'890'000, 24'990'000},
    {28'000'000, 29'700'000},
}};

}  // namespace zr
