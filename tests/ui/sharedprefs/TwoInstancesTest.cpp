// Two instances of a small application (prefs_peer) sharing one settings folder and
// one port name: a format chosen in the window of the first relabels the second, and
// both start with it next time.

#include <gtest/gtest.h>

#include <QProcess>
#include <string>

#include "IAPTestSupport.h"
#include "SettingsTestSupport.h"
#include "tests/TestPaths.h"

namespace {

class PeerApp {
public:
    PeerApp()
    {
        mProcess.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        mProcess.setProcessEnvironment(environment);
        mProcess.start(QString::fromUtf8(test_paths::PrefsPeer), {});
    }
    ~PeerApp()
    {
        mProcess.closeWriteChannel();
        if (!mProcess.waitForFinished(10000)) mProcess.kill();
        mProcess.waitForFinished(1000);
    }
    void Send(const std::string& command) { mProcess.write(QByteArray::fromStdString(command + "\n")); }
    // The next line the application prints; empty after ten seconds without one.
    std::string Line()
    {
        while (!mProcess.canReadLine())
            if (!mProcess.waitForReadyRead(10000)) return "";
        return mProcess.readLine().trimmed().toStdString();
    }

private:
    QProcess mProcess;
};

class TwoInstancesFixture : public SettingsDirFixture {
protected:
    PortNameScope ports;
};

TEST_F(TwoInstancesFixture, FormatChosenInTheFirstRelabelsTheSecondAndOutlivesARestart)
{
    {
        PeerApp first, second;
        ASSERT_EQ(first.Line(), "label Open(O)");
        ASSERT_EQ(second.Line(), "label Open(O)");
        first.Send("show");
        ASSERT_EQ(first.Line(), "shown");
        first.Send("choose a) ");
        EXPECT_EQ(first.Line(), "label O) Open");
        EXPECT_EQ(second.Line(), "label O) Open");
        first.Send("ok");
    }
    PeerApp first, second;
    EXPECT_EQ(first.Line(), "label O) Open");
    EXPECT_EQ(second.Line(), "label O) Open");
}

}  // namespace
