#include "exchange/PortList.h"

#include "common/Cp1251.h"

#include <array>
#include <cstring>

QStringList SpeedList() {
    return {QStringLiteral("300"),  QStringLiteral("600"),  QStringLiteral("1200"), QStringLiteral("2400"),
            QStringLiteral("4800"), QStringLiteral("9600"), QStringLiteral("19200")};
}

void ParsePortText(const QString& text, QStringList& list) {
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(QLatin1Char(';'), start);
        if (end < 0)
            end = text.size();
        list.append(text.mid(start, end - start));
        start = end + 1;
    }
}

QStringList ReadPortList(const TKvApi& api, void* window) {
    QStringList portList;
    if (api.IsComplete()) {
        int32_t handle = api.CreateCOM();
        std::array<char, KV_PORTS_BUFFER_SIZE> ports{};
        if (api.SearchAvailableCOMPorts(handle, 0, window, ports.data()) == 0)
            ParsePortText(
                Cp1251::Decode(ports.data(), static_cast<qsizetype>(strnlen(ports.data(), ports.size()))),
                portList);
        api.FreeCOM(&handle);
    }
    return portList;
}

void LoadPortList(const TKvApi& api, QStringList& portList, QStringList& speedList, void* window) {
    portList.append(ReadPortList(api, window));
    speedList.append(SpeedList());
}
