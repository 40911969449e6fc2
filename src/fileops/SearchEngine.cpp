#include "fileops/SearchEngine.h"

#include <algorithm>

namespace {

constexpr uint32_t RankMask = 0xFFFF;
constexpr uint32_t DirectoryBit = 0x10000;

} // namespace

int32_t TFoundItems::GetItemRank(uint32_t data)
{
    return static_cast<int32_t>(data & RankMask);
}

void TFoundItems::SetItemRank(uint32_t& data, int32_t rank)
{
    const auto stored = static_cast<uint32_t>(std::clamp<int32_t>(rank, 0, static_cast<int32_t>(RankMask)));
    data = (data & ~RankMask) | stored;
}

bool TFoundItems::IsItemDirectory(uint32_t data)
{
    return (data & DirectoryBit) != 0;
}

void TFoundItems::SetItemDirectory(uint32_t& data, bool directory)
{
    data = directory ? data | DirectoryBit : data & ~DirectoryBit;
}

int32_t TFoundItems::Add(const std::string& path, bool isDirectory, int32_t rank, bool ranked)
{
    TItem item{path, 0};
    SetItemRank(item.Data, rank);
    SetItemDirectory(item.Data, isDirectory);
    auto place = Items.end();
    if (ranked)
        place = std::upper_bound(Items.begin(), Items.end(), GetItemRank(item.Data),
                                 [](int32_t value, const TItem& other) { return value > GetItemRank(other.Data); });
    return static_cast<int32_t>(Items.insert(place, std::move(item)) - Items.begin());
}

TSearchEngine::TSearchEngine(TSearchPort& port) : Port(port)
{
}

bool TSearchEngine::CheckFilters(const TSearchOptions&)
{
    return true;
}

bool TSearchEngine::Run(const TSearchOptions&, const std::vector<TSearchCandidate>&)
{
    Port.ShowStatus(0, -1);
    return true;
}
