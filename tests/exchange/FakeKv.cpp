#include "FakeKv.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

FakeKv* FakeKv::Current = nullptr;

namespace {
FakeKv& Fake() {
    return *FakeKv::Current;
}

void CopyOut(const std::string& text, char* buffer) {
    const size_t n = std::min(text.size(), size_t(KV_BUFFER_SIZE - 1));
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

int32_t Create() {
    Fake().Calls.push_back("Create");
    ++Fake().LiveHandles;
    return Fake().NextHandle;
}
int32_t Free(int32_t* handle) {
    Fake().Calls.push_back("Free " + std::to_string(*handle));
    --Fake().LiveHandles;
    *handle = 0;
    return 0;
}
int32_t Open(int32_t, const char* name) {
    Fake().Calls.push_back(std::string("Open ") + name);
    return Fake().OpenCode;
}
int32_t Close(int32_t) {
    Fake().Calls.push_back("Close");
    return KV_ERR_NOT_OPEN; // callers must ignore it
}
int32_t Baud(int32_t, uint16_t speed) {
    Fake().Calls.push_back("Baud " + std::to_string(speed));
    return Fake().BaudCode;
}
int32_t Timeout(int32_t, uint16_t ms) {
    Fake().Calls.push_back("Timeout " + std::to_string(ms));
    return Fake().TimeoutCode;
}
int32_t CheckWord(const char* request, char* word) {
    if (Fake().CheckWordCode != 0)
        return Fake().CheckWordCode;
    CopyOut(FakeKv::CheckWordOf(request), word);
    return 0;
}
int32_t Transmit(int32_t, const char* parcel) {
    if (Fake().TransmitCode != 0)
        return Fake().TransmitCode;
    Fake().Parcels.emplace_back(parcel);
    return 0;
}
int32_t Receive(int32_t, char* answer) {
    FakeKv& f = Fake();
    if (f.Answers.empty())
        return KV_ERR_NO_ANSWER;
    f.Received = f.Answers.front();
    if (!f.AnswerForever)
        f.Answers.pop_front();
    if (f.Received.ReceiveCode != 0)
        return f.Received.ReceiveCode;
    f.ReceivedText = "!" + std::to_string(f.Received.Address) + ";" + f.Received.Data + ";";
    CopyOut(f.ReceivedText, answer);
    return 0;
}
int32_t Analyse(const char* answer, uint8_t* address, char* data) {
    FakeKv& f = Fake();
    if (f.ReceivedText != answer)
        return KV_ERR_MALFORMED; // the caller handed over something else than it received
    *address = f.Received.Address;
    CopyOut(f.Received.Data, data);
    return f.Received.AnalysisCode;
}
int32_t Search(int32_t, int32_t reserved, void* window, char* ports) {
    Fake().Calls.push_back("Search " + std::to_string(reserved));
    Fake().SearchWindow = window;
    const std::string& text = Fake().SearchText;
    const size_t n = std::min(text.size(), size_t(KV_PORTS_BUFFER_SIZE - 1));
    std::memcpy(ports, text.data(), n);
    ports[n] = '\0';
    return Fake().SearchCode;
}
} // namespace

FakeKv::FakeKv() {
    if (Current)
        throw std::logic_error("one FakeKv at a time");
    Current = this;
}

FakeKv::~FakeKv() {
    Current = nullptr;
}

TKvApi FakeKv::Api() const {
    TKvApi api;
    api.CreateCOM = Create;
    api.FreeCOM = Free;
    api.OpenCOM = Open;
    api.CloseCOM = Close;
    api.SetBaudRate = Baud;
    api.SetTimeout = Timeout;
    api.ASCIICRCWord = CheckWord;
    api.TransmitParcel = Transmit;
    api.ReceiveParcel = Receive;
    api.AnalysisAnswerParcel = Analyse;
    api.SearchAvailableCOMPorts = Search;
    return api;
}

std::string FakeKv::CheckWordOf(const std::string& request) {
    unsigned sum = 0;
    for (const unsigned char c : request)
        sum = (sum * 31 + c) & 0xFFFF;
    char text[8];
    std::snprintf(text, sizeof text, "%04X", sum);
    return text;
}

std::vector<std::string> FakeKv::Requests() const {
    std::vector<std::string> out;
    for (const std::string& p : Parcels) {
        // request, four check-word characters of that request, CR
        if (p.size() < 5 || p.back() != '\r') {
            out.push_back("<bad parcel " + p + ">");
            continue;
        }
        const std::string request = p.substr(0, p.size() - 5);
        if (p.substr(p.size() - 5, 4) != CheckWordOf(request))
            out.push_back("<bad check word " + p + ">");
        else
            out.push_back(request);
    }
    return out;
}
