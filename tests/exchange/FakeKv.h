#pragma once
// A stand-in for the exchange library: records every call and every transmitted parcel and replays
// scripted answers. One instance at a time; the library's C functions reach it through a static.
#include "exchange/KvLibrary.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct FakeAnswer {
    int ReceiveCode = 0;  // nonzero: the receive fails with it
    int AnalysisCode = 0; // result of the analysis of this answer
    uint8_t Address = 0;
    std::string Data; // Windows-1251 bytes
};

class FakeKv {
public:
    FakeKv();
    ~FakeKv();
    FakeKv(const FakeKv&) = delete;
    FakeKv& operator=(const FakeKv&) = delete;

    TKvApi Api() const;

    // The check word this fake computes for a request text.
    static std::string CheckWordOf(const std::string& request);

    void Answer(uint8_t address, const std::string& data) { Answers.push_back({0, 0, address, data}); }
    void Silence() { Answers.push_back({KV_ERR_NO_ANSWER, 0, 0, {}}); }

    // Scripted results.
    int OpenCode = 0;
    int BaudCode = 0;
    int TimeoutCode = 0;
    int CheckWordCode = 0;
    int TransmitCode = 0;
    int SearchCode = 0;
    std::string SearchText;
    std::deque<FakeAnswer> Answers; // an exhausted script means a silent line
    bool AnswerForever = false;     // replay the first answer without consuming it

    // What happened.
    std::vector<std::string> Calls; // "Create", "Open <name>", "Baud <n>", "Timeout <n>", "Close", "Free"...
    std::vector<std::string> Parcels; // bytes handed to the transmit
    void* SearchWindow = nullptr;
    int LiveHandles = 0;

    // Request texts seen, each checked to carry its own check word and one carriage return.
    std::vector<std::string> Requests() const;

    // Internals reached by the C functions.
    static FakeKv* Current;
    FakeAnswer Received;
    std::string ReceivedText;
    int NextHandle = 7;
};
