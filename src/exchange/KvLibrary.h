#pragma once
// The exchange library libkvcom.so, loaded at run time by name so that a missing or incomplete
// library is reported by the program instead of by the dynamic loader.
#include "kvcom/kvcom.h"

#include <QString>
#include <memory>

class QLibrary;

// The library's functions, resolved by name. Tests fill the table with functions of their own.
struct TKvApi {
    decltype(&::KV_CreateCOM) CreateCOM = nullptr;
    decltype(&::KV_FreeCOM) FreeCOM = nullptr;
    decltype(&::KV_OpenCOM) OpenCOM = nullptr;
    decltype(&::KV_CloseCOM) CloseCOM = nullptr;
    decltype(&::KV_SetBaudRate) SetBaudRate = nullptr;
    decltype(&::KV_SetTimeout) SetTimeout = nullptr;
    decltype(&::KV_ASCIICRCWord) ASCIICRCWord = nullptr;
    decltype(&::KV_TransmitParcel) TransmitParcel = nullptr;
    decltype(&::KV_ReceiveParcel) ReceiveParcel = nullptr;
    decltype(&::KV_AnalysisAnswerParcel) AnalysisAnswerParcel = nullptr;
    decltype(&::KV_SearchAvailableCOMPorts) SearchAvailableCOMPorts = nullptr;

    // True when every function is present.
    bool IsComplete() const;
};

// File name of the library inside the program directory.
inline const QString KvLibraryFileName = QStringLiteral("libkvcom.so");

// Owns the loaded library; the table stays valid while the object lives.
class TKvLibrary {
public:
    TKvLibrary();
    ~TKvLibrary();
    TKvLibrary(const TKvLibrary&) = delete;
    TKvLibrary& operator=(const TKvLibrary&) = delete;

    // Loads progDir + "libkvcom.so" (progDir ends in "/") and resolves every function.
    // False with ErrorText() naming the file or the missing function; the table is then empty.
    bool Load(const QString& progDir);
    // Same for a library file given by its full path.
    bool LoadFile(const QString& path);
    void Unload();

    bool IsLoaded() const { return Api.IsComplete(); }
    const TKvApi& Table() const { return Api; }
    const QString& ErrorText() const { return Error; }

private:
    std::unique_ptr<QLibrary> Library;
    TKvApi Api;
    QString Error;
};
