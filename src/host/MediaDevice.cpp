#include "host/MediaDevice.h"

#include "host/QtMediaDevice.h"

namespace host {
namespace {

MediaDeviceFactory Factory;

} // namespace

std::unique_ptr<MediaDevice> MakeMediaDevice()
{
    if (Factory)
        return Factory();
    return std::make_unique<QtMediaDevice>();
}

void SetMediaDeviceFactory(MediaDeviceFactory factory)
{
    Factory = std::move(factory);
}

} // namespace host
