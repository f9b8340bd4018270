// Loading the exchange library by name: a missing file or function is reported, not crashed on.
#include "exchange/KvLibrary.h"
#include "exchange/PortList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(KvLibrary, LoadsAndResolvesEveryFunction) {
    TKvLibrary library;
    ASSERT_TRUE(library.Load(QStringLiteral(KV_MODULE_COMPLETE_DIR "/")))
        << library.ErrorText().toStdString();
    EXPECT_TRUE(library.IsLoaded());
    EXPECT_TRUE(library.ErrorText().isEmpty());
    const TKvApi& api = library.Table();
    EXPECT_EQ(api.CreateCOM(), 42);
    EXPECT_EQ(api.OpenCOM(42, "x"), KV_ERR_NO_PORT);
    QStringList ports, speeds;
    LoadPortList(api, ports, speeds);
    EXPECT_EQ(ports, QStringList{QStringLiteral("ttyS0")});
    library.Unload();
    EXPECT_FALSE(library.IsLoaded());
}

TEST(KvLibrary, MissingFileIsNamed) {
    QTemporaryDir dir;
    TKvLibrary library;
    EXPECT_FALSE(library.Load(dir.path() + QLatin1Char('/')));
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_TRUE(library.ErrorText().contains(dir.path() + QStringLiteral("/libkvcom.so")))
        << library.ErrorText().toStdString();
}

TEST(KvLibrary, FileThatIsNoLibraryIsReported) {
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("libkvcom.so")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a shared object");
    file.close();
    TKvLibrary library;
    EXPECT_FALSE(library.Load(dir.path() + QLatin1Char('/')));
    EXPECT_TRUE(library.ErrorText().contains(QStringLiteral("libkvcom.so")));
}

TEST(KvLibrary, MissingFunctionIsNamed) {
    TKvLibrary library;
    EXPECT_FALSE(library.Load(QStringLiteral(KV_MODULE_PARTIAL_DIR "/")));
    EXPECT_FALSE(library.IsLoaded());
    EXPECT_FALSE(library.Table().CreateCOM) << "a half-resolved table must not be offered";
    EXPECT_TRUE(library.ErrorText().contains(QStringLiteral("KV_SearchAvailableCOMPorts")))
        << library.ErrorText().toStdString();
}
