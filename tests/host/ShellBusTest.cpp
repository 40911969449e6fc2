#include "host/LastError.h"
#include "host/Shell.h"

#include "support/PrivateBus.h"
#include "support/TestSupport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QStringList>
#include <QThread>

#include <gtest/gtest.h>

#include <memory>
#include <mutex>

namespace {

const QString FileManagerService = "org.freedesktop.FileManager1";
const QString FileManagerPath = "/org/freedesktop/FileManager1";

// A file manager on the private bus that records each call and answers it, or refuses it
// when told. It runs on a thread of its own, since the caller waits for the answer.
class TFakeFileManager : public QDBusVirtualObject
{
public:
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override
    {
        std::lock_guard lock(Guard);
        Calls.push_back(message);
        connection.send(Refuse ? message.createErrorReply("org.freedesktop.DBus.Error.Failed", "refused")
                               : message.createReply());
        return true;
    }
    QString introspect(const QString&) const override { return {}; }

    std::vector<QDBusMessage> TakeCalls()
    {
        std::lock_guard lock(Guard);
        return std::exchange(Calls, {});
    }

    std::atomic<bool> Refuse = false;

private:
    std::mutex Guard;
    std::vector<QDBusMessage> Calls;
};

class ShellBusTest : public testing::Test
{
protected:
    ShellBusTest()
    {
        Drive.WriteFile("notes.txt", "notes");
        Service.start();
    }
    ~ShellBusTest() override
    {
        host::SetLauncher(nullptr);
        if (FileManager) {
            QMetaObject::invokeMethod(
                FileManager.get(), [] {}, Qt::BlockingQueuedConnection);
            FileManager.reset();
        }
        Service.quit();
        Service.wait();
    }

    // Registers the file manager's name and object on a connection of the service thread.
    void StartFileManager()
    {
        QDBusConnection connection = Bus.Connect("file-manager");
        FileManager = std::make_unique<TFakeFileManager>();
        FileManager->moveToThread(&Service);
        ASSERT_TRUE(connection.registerVirtualObject(FileManagerPath, FileManager.get()));
        ASSERT_TRUE(connection.registerService(FileManagerService));
    }

    bool ShowProperties()
    {
        return host::ShellExecute(
            host::ShellRequest{host::ShellVerb::Properties, {Drive.Path("notes.txt")}, {}, {}, {}});
    }

    PrivateBus Bus;
    QThread Service;
    std::unique_ptr<TFakeFileManager> FileManager;
    TTempDrive Drive{'T'};
};

TEST_F(ShellBusTest, PropertiesAskTheFileManagerOnTheBus)
{
    if (!Bus.IsRunning())
        GTEST_SKIP() << "no dbus-daemon to run a private bus";
    std::unique_ptr<host::Launcher> launcher = host::MakeSystemLauncher(Bus.Connect("caller"));
    host::SetLauncher(launcher.get());

    EXPECT_FALSE(ShowProperties());
    EXPECT_EQ(host::ERROR_SERVICE_DOES_NOT_EXIST, host::GetLastError()) << "no file manager on the bus";

    StartFileManager();
    ASSERT_TRUE(ShowProperties());
    const std::vector<QDBusMessage> calls = FileManager->TakeCalls();
    ASSERT_EQ(1u, calls.size());
    EXPECT_EQ("org.freedesktop.FileManager1", calls[0].interface());
    EXPECT_EQ("ShowItemProperties", calls[0].member());
    EXPECT_EQ("ass", calls[0].signature()) << "the URIs, then the startup ID";
    ASSERT_EQ(2, calls[0].arguments().size());
    EXPECT_EQ(QStringList{QString::fromStdString("file://" + Drive.HostPath("notes.txt"))},
              calls[0].arguments()[0].toStringList());

    FileManager->Refuse = true;
    EXPECT_FALSE(ShowProperties());
    EXPECT_EQ(host::ERROR_NO_ASSOCIATION, host::GetLastError()) << "the file manager answered, with a refusal";
}

} // namespace
