#include "model/AppState.h"

void TAppState::LoadCatalogue() {
    DevTypes = ReadCatalogue(ProgDir + QStringLiteral("devices.ini"));
    CreateDevList();
}

void TAppState::CreateDevList() {
    DevList.clear();
    for (size_t i = 0; i < DevTypes.size(); ++i) {
        CurType = static_cast<uint8_t>(i);
        // The result is not looked at: an entry without description files keeps no parameters.
        LoadDescriptions(ProgDir, *DevTypes[i], QString());
        DevList.push_back(std::make_unique<TDev>(DevTypes[i]->ParamCount()));
    }
    // The first entry is the one worked on until the connection dialog picks (always) entry 0.
    CurType = 0;
}
