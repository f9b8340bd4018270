#pragma once
// The program's state: one object that start-up creates and hands to the windows, dialogs and
// workers that need it. Members keep the names the rest of the program uses.
#include "model/LineTap.h"
#include "model/Model.h"

#include <QString>
#include <QStringList>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

// In-memory program settings (file "kestrin.ini", section "Main").
struct TSettings {
    bool Save = false;
    int32_t Left = 200;
    int32_t Top = 100;
    bool Load = false;
    QString Project;
    bool Hint = false;
    bool Confirm = true;
    int32_t ReWrite = 1;
    int32_t ReRead = 1;
    // The user-interface language the user chose: "ru" or "en"; empty follows the system locale.
    // Takes effect at the next start.
    QString Language;
};

// Project states.
enum class TPrjState : uint8_t { PrjChanged = 0, PrjSaved = 1, PrjNone = 2 };
// Exchange states (ExchChannel is never set; the channel table refuses edits while it is set).
enum class TExchState : uint8_t { ExchIdle = 0, ExchReadWrite = 1, ExchChannel = 2, ExchMeasure = 3 };

class TAppState {
public:
    QString ProgDir; // ends in "/"
    // The folder of the parameter-set, export or chart file the user chose last in this session:
    // the next such dialog starts there.
    QString LastUserDir;

    std::vector<std::unique_ptr<TDevProp>> DevTypes;
    std::vector<std::unique_ptr<TDev>> DevList;
    uint8_t CurType = 0;
    uint8_t ActDevice = 0;

    TPrjState PrjState = TPrjState::PrjNone;
    QString PrjPath;
    // The project's measurement record file, as chosen (the files written carry the day in
    // their names); empty when none was chosen.
    QString RecordFile;

    // Written only on the user-interface thread (lock callbacks); read there too.
    TExchState ExchangeState = TExchState::ExchIdle;
    std::atomic<bool> ReadStop{false};
    std::atomic<bool> WriteStop{false};
    std::atomic<bool> MeasureStop{false};

    QStringList PortList;
    QStringList SpeedList;
    // Reads the usable ports as they are now (the exchange library's search), for the places that
    // show or match port names; unset, PortList stays as start-up filled it.
    std::function<QStringList()> ReadPortList;
    // PortList read anew, when a reader is set: adapters come and go while the program runs.
    void RefreshPortList() {
        if (ReadPortList)
            PortList = ReadPortList();
    }

    TSettings Settings;

    // Every parcel of every exchange of the program goes here; the line monitor attaches to it.
    TLineTapHub LineTap;

    // True when CurType indexes an entry (a catalogue may be empty).
    bool HasCurType() const { return CurType < DevTypes.size() && CurType < DevList.size(); }
    TDevProp& CurDevType() { return *DevTypes[CurType]; }
    TDev& CurDev() { return *DevList[CurType]; }

    // Reads the catalogue and creates one device record per entry with the base descriptions loaded.
    void LoadCatalogue();
    // Loads every entry's base descriptions and creates its device record (start-up does this after
    // creating the views, so it is separate from reading the catalogue).
    void CreateDevList();
};
