// A port the system does not let the user open (-102): the error box keeps its specified text and
// its details say which group owns the port and how to join it.
#include "MainFixture.h"
#include "exchange/KvLibrary.h"
#include "ui/MainExchange.h"

#include <QTest>
#include <unistd.h>

namespace {
int32_t OpenRefused(int32_t, const char*) {
    return KV_ERR_PERMISSION;
}

class PortPermission : public MainFixture {
protected:
    TKvLibrary Library;
    TKvApi Api;
    std::unique_ptr<TMainExchange> Exchange;
    QTemporaryDir Nodes;

    void SetUp() override {
        MainFixture::SetUp();
        ASSERT_TRUE(Library.Load(QStringLiteral(KESTRIN_PROGDIR)));
        Api = Library.Table();
        Api.OpenCOM = OpenRefused;
        ASSERT_TRUE(Start());
        Exchange = std::make_unique<TMainExchange>(*Main, Api);
        NewProject();
    }
    void TearDown() override {
        Exchange.reset();
        MainFixture::TearDown();
    }
    // A stand-in device node owned by a group.
    QString Node(const QString& name, gid_t gid) {
        const QString path = Nodes.path() + "/" + name;
        TestUtil::WriteBytes(path, "");
        if (::chown(QFile::encodeName(path).constData(), static_cast<uid_t>(-1), gid) != 0)
            ADD_FAILURE() << "cannot give " << path.toStdString() << " to group " << gid;
        return path;
    }
    // Read-all on the port; the details of the error box it ends with.
    TAskedMessage ReadAllOn(const QString& port) {
        State.CurDev().COMPort = port;
        Dialogs.Asked.clear();
        Trigger("actReadAll");
        const bool idle = QTest::qWaitFor(
            [this] { return State.ExchangeState == TExchState::ExchIdle && !Exchange->AnyRunning(); }, 20000);
        EXPECT_TRUE(idle);
        return Dialogs.Asked.empty() ? TAskedMessage{} : Dialogs.Asked.back();
    }
};
} // namespace

TEST_F(PortPermission, DetailsNameThePortsGroupAndTheCommandToJoinIt) {
    if (::geteuid() != 0 && ::getegid() != 20)
        GTEST_SKIP() << "giving a file to the dialout group needs root or membership";
    const QString port = Node("ttyUSB7", 20); // dialout on Debian
    const TAskedMessage box = ReadAllOn(port);
    EXPECT_EQ(box.Text, QStringLiteral("Чтение остановлено, ошибка: -102"));
    EXPECT_TRUE(box.Details.contains(QStringLiteral("-102"))) << box.Details.toStdString();
    EXPECT_TRUE(box.Details.contains(port + QStringLiteral(" принадлежит группе dialout")))
        << box.Details.toStdString();
    EXPECT_TRUE(box.Details.contains(QStringLiteral("sudo usermod -aG dialout $USER")))
        << box.Details.toStdString();

    // A node of root's group gets advice, never the command to join root's group.
    if (::geteuid() == 0) {
        const TAskedMessage rootBox = ReadAllOn(Node("ttyS9", 0));
        EXPECT_TRUE(rootBox.Details.contains(QStringLiteral("администратор")))
            << rootBox.Details.toStdString();
        EXPECT_FALSE(rootBox.Details.contains(QStringLiteral("usermod"))) << rootBox.Details.toStdString();
    }
}
