#include "exchange/KvLibrary.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibrary>

bool TKvApi::IsComplete() const {
    return CreateCOM && FreeCOM && OpenCOM && CloseCOM && SetBaudRate && SetTimeout && ASCIICRCWord &&
           TransmitParcel && ReceiveParcel && AnalysisAnswerParcel && SearchAvailableCOMPorts;
}

TKvLibrary::TKvLibrary() = default;

TKvLibrary::~TKvLibrary() {
    Unload();
}

void TKvLibrary::Unload() {
    Api = TKvApi();
    if (Library) {
        Library->unload();
        Library.reset();
    }
}

bool TKvLibrary::Load(const QString& progDir) {
    return LoadFile(progDir + KvLibraryFileName);
}

namespace {
template <typename TFn> bool Resolve(QLibrary& lib, const char* name, TFn& fn, QString& missing) {
    fn = reinterpret_cast<TFn>(lib.resolve(name));
    if (!fn && missing.isEmpty())
        missing = QString::fromLatin1(name);
    return fn != nullptr;
}
} // namespace

bool TKvLibrary::LoadFile(const QString& path) {
    Unload();
    Error.clear();
    const QString nativePath = QFileInfo(path).absoluteFilePath();
    if (!QFileInfo::exists(nativePath)) {
        Error = QCoreApplication::translate("Exchange", "Не найдена библиотека обмена %1").arg(nativePath);
        return false;
    }
    auto lib = std::make_unique<QLibrary>(nativePath);
    if (!lib->load()) {
        Error = QCoreApplication::translate("Exchange", "Не удалось загрузить библиотеку обмена %1: %2")
                    .arg(nativePath, lib->errorString());
        return false;
    }
    TKvApi table;
    QString missing;
    Resolve(*lib, "KV_CreateCOM", table.CreateCOM, missing);
    Resolve(*lib, "KV_FreeCOM", table.FreeCOM, missing);
    Resolve(*lib, "KV_OpenCOM", table.OpenCOM, missing);
    Resolve(*lib, "KV_CloseCOM", table.CloseCOM, missing);
    Resolve(*lib, "KV_SetBaudRate", table.SetBaudRate, missing);
    Resolve(*lib, "KV_SetTimeout", table.SetTimeout, missing);
    Resolve(*lib, "KV_ASCIICRCWord", table.ASCIICRCWord, missing);
    Resolve(*lib, "KV_TransmitParcel", table.TransmitParcel, missing);
    Resolve(*lib, "KV_ReceiveParcel", table.ReceiveParcel, missing);
    Resolve(*lib, "KV_AnalysisAnswerParcel", table.AnalysisAnswerParcel, missing);
    Resolve(*lib, "KV_SearchAvailableCOMPorts", table.SearchAvailableCOMPorts, missing);
    if (!missing.isEmpty()) {
        Error = QCoreApplication::translate("Exchange", "В библиотеке обмена %1 нет функции %2")
                    .arg(nativePath, missing);
        lib->unload();
        return false;
    }
    Library = std::move(lib);
    Api = table;
    return true;
}
