#include "support/TestSupport.h"

#include "core/desktop/Application.h"
#include "core/errors/Error.h"
#include "core/forms/ModalSeam.h"
#include "core/text/FormatSettings.h"

#include "host/Drives.h"
#include "host/FaultInjection.h"
#include "host/MediaDevice.h"
#include "host/Process.h"
#include "host/VideoFrames.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

std::string TestRoot;
std::vector<uint32_t> Beeps;

// No test may wait for a person: a modal request that no script answers fails the test.
void InstallFailingAnswerer()
{
    SetModalAnswerer([](const TModalRequest& request) {
        ADD_FAILURE() << "Unanswered modal request \"" << request.Caption << "\": " << request.Text;
        return request.Dialog ? 0 : IDCANCEL;
    });
}

// Each test starts from the same state of the process-wide objects.
class FreshStatePerTest : public testing::EmptyTestEventListener
{
    void OnTestStart(const testing::TestInfo&) override
    {
        host::ClearFaults();
        host::ResetDriveTable();
        host::MapDrive('P', TestRoot + "/program");
        host::SetProgramHostFile(TestRoot + "/program/quillomber");
        host::SetVideoThumbnailer({});
        host::SetMediaDeviceFactory({});
        FunStatContext = TFunStatContext();
        FormatSettings = TFormatSettings();
        Beeps.clear();
        InstallFailingAnswerer();
    }
    void OnTestEnd(const testing::TestInfo&) override
    {
        host::ClearFaults();
        SetModalAnswerer(nullptr);
    }
};

void IsolateEnvironment()
{
    char pattern[] = "/tmp/quillomber-tests-XXXXXX";
    TestRoot = mkdtemp(pattern);
    for (const char* folder : {"/home", "/config", "/data", "/cache", "/runtime", "/program"})
        std::filesystem::create_directories(TestRoot + folder);
    std::filesystem::permissions(TestRoot + "/runtime", std::filesystem::perms::owner_all);
    setenv("HOME", (TestRoot + "/home").c_str(), 1);
    setenv("XDG_CONFIG_HOME", (TestRoot + "/config").c_str(), 1);
    setenv("XDG_DATA_HOME", (TestRoot + "/data").c_str(), 1);
    setenv("XDG_CACHE_HOME", (TestRoot + "/cache").c_str(), 1);
    setenv("XDG_RUNTIME_DIR", (TestRoot + "/runtime").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    // As the program does: the media device plays through GStreamer, which needs no audio device.
    setenv("QT_MEDIA_BACKEND", "gstreamer", 0);
    // No test may reach the session of the person running it.
    unsetenv("DBUS_SESSION_BUS_ADDRESS");
}

} // namespace

// The leak check reads these at exit. They cover memory that libraries below the media
// device allocate and keep, which no code of ours allocates or could free: glib keeps its
// first quark table once GStreamer's many names outgrow it, GStreamer's PulseAudio device
// probe keeps its context when no sound server answers, and libsrt, which the FFmpeg
// decoders load, keeps an object it makes as it starts. libdbus, below Qt's bus connection
// and the sound server client, now and then loses a string buffer of its own (1 KiB, in one
// whole run of many); it is built without frame pointers, so the report stops inside it and
// names no caller, and the sound server client's entry above cannot match it.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:g_malloc\n"
           "leak:libpulse.so\n"
           "leak:libsrt-gnutls.so\n"
           "leak:libdbus-1.so\n";
}

const std::string& TestRootHostPath()
{
    return TestRoot;
}

std::vector<uint32_t>& BeepsHeard()
{
    return Beeps;
}

int main(int argc, char** argv)
{
    IsolateEnvironment();
    testing::InitGoogleTest(&argc, argv);
    TApplication application(argc, argv);
    SetBeepListener([](uint32_t type) { Beeps.push_back(type); });
    testing::UnitTest::GetInstance()->listeners().Append(new FreshStatePerTest);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(TestRoot, ignored);
    return result;
}
