#include "columns/MediaPlayerServices.h"

namespace {

// A play list is recorded as started and nothing plays.
class TNoMediaPlayer : public TMediaPlayerServices
{
public:
    void PlayMPL(const std::string&, const std::string&, int64_t) override {}
};

TNoMediaPlayer NoMediaPlayer;

} // namespace

template <>
TMediaPlayerServices& TSeam<TMediaPlayerServices>::StandIn()
{
    return NoMediaPlayer;
}
