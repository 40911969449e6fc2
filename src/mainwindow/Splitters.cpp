#include "mainwindow/Splitters.h"

#include <algorithm>

TSplitterFit FitSplitterSize(int32_t size, int32_t growth, int32_t minimum, int32_t maximum)
{
    const int64_t wanted = static_cast<int64_t>(size) + growth;
    const int64_t fitted = std::max<int64_t>(std::min<int64_t>(std::max<int64_t>(wanted, minimum), maximum), 0);
    return {static_cast<int32_t>(fitted), static_cast<int32_t>(fitted - size)};
}
