#include "columns/ToolServices.h"

namespace {

// Until the tools exist no streams are edited and no picture is converted.
class TNoTools : public TToolServices
{
public:
    void SetFileStreamsEditorOptions() override {}
    void OpenFileStreams(const std::string&, TFileStreamsEditMode) override {}
    bool GetPictureConverterID(const std::string&, std::string&, std::string&) override { return false; }
    void ConvertPicture(const std::string&, const std::string&, bool, const std::string&, const std::string&, int32_t,
                        int32_t) override
    {
    }
};

TNoTools NoTools;

} // namespace

template <>
TToolServices& TSeam<TToolServices>::StandIn()
{
    return NoTools;
}
