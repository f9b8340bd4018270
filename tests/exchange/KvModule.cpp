// A minimal library with the exchange library's C functions, for the loader's tests. Built twice:
// complete, and without KV_SearchAvailableCOMPorts (KV_OMIT_SEARCH).
#include "kvcom/kvcom.h"

#include <cstring>

extern "C" {
int32_t KV_CreateCOM(void) {
    return 42;
}
int32_t KV_FreeCOM(int32_t* handle) {
    *handle = 0;
    return 0;
}
int32_t KV_OpenCOM(int32_t, const char*) {
    return KV_ERR_NO_PORT;
}
int32_t KV_CloseCOM(int32_t) {
    return 0;
}
int32_t KV_SetBaudRate(int32_t, uint16_t) {
    return 0;
}
int32_t KV_SetTimeout(int32_t, uint16_t) {
    return 0;
}
int32_t KV_ASCIICRCWord(const char*, char* word) {
    std::strcpy(word, "0000");
    return 0;
}
int32_t KV_TransmitParcel(int32_t, const char*) {
    return 0;
}
int32_t KV_ReceiveParcel(int32_t, char*) {
    return KV_ERR_NO_ANSWER;
}
int32_t KV_AnalysisAnswerParcel(const char*, uint8_t*, char*) {
    return KV_ERR_MALFORMED;
}
#ifndef KV_OMIT_SEARCH
int32_t KV_SearchAvailableCOMPorts(int32_t, int32_t, void*, char* ports) {
    std::strcpy(ports, "ttyS0;");
    return 0;
}
#endif
}
