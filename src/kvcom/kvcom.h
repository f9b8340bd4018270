#pragma once
/* The exchange library libkvcom.so: serial-line transport for the instruments' text parcels.
 * Every function but KV_CreateCOM returns 0 on success or one of the negative codes below.
 * Text buffers are allocated by the caller: KV_BUFFER_SIZE bytes each (254 characters and the
 * terminating zero), KV_PORTS_BUFFER_SIZE for the port search.
 *
 * Behaviour callers may rely on:
 * - Handles are positive; all functions are thread-safe, one operation at a time per handle.
 *   A new handle has speed 9600 and time-out 1000 ms; speed and time-out set before KV_OpenCOM
 *   are kept for it. Null text pointers give KV_ERR_BUFFER.
 * - KV_OpenCOM: "SIM1" is the demo line (when kvcom.ini enables it), a name starting with "/" is a
 *   path, "tcp://HOST:PORT" and "rfc2217://HOST:PORT" are device servers (a malformed address is
 *   KV_ERR_NO_PORT), a name of kvcom.ini's [Net] stands for its address, any other name is a device
 *   under /dev (which wins over a [Net] name). A port open through another handle, or held
 *   exclusively by another program, is KV_ERR_OPEN; so is a device server that cannot be reached
 *   or refuses the connection within a few seconds. Opening an open handle first closes its port.
 *   A network connection the server closed is KV_ERR_LINE_LOST; the next transmit connects again.
 * - KV_ASCIICRCWord: 4 upper-case hexadecimal digits of CRC-16/MODBUS over the text from its first
 *   ":" through its last ";"; KV_ERR_MALFORMED when there is no such range.
 * - KV_TransmitParcel drops any unread input first, so a late answer to an earlier request is never
 *   taken for the answer to this one.
 * - KV_SetBaudRate on a raw network port ("tcp://") is kept but changes nothing: the speed is the
 *   device server's own setting; an RFC 2217 server is asked for it and must confirm it.
 * - KV_ReceiveParcel gives the parcel from "!" through its CR (CR included); bytes before "!" are
 *   skipped, and a "!" inside a parcel without its CR yet starts the parcel again there. The
 *   time-out counts from the moment the last request has left the line (its bytes at 10 bits each
 *   at the line's speed; on a raw network port from the send) and starts again with every byte of
 *   an answer in progress, so neither the request's nor the answer's own transmission eats it.
 *   KV_ERR_NO_ANSWER after the time-out, KV_ERR_TOO_LONG for a parcel that does not fit (the rest of it up to
 * its CR is discarded), KV_ERR_LINE_LOST when the device went away. Further answers that arrived together (a
 *   broadcast) are kept for the next call.
 * - KV_AnalysisAnswerParcel takes the parcel with or without its CR; on failure data is empty. */
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#define KV_BUFFER_SIZE 255
#define KV_PORTS_BUFFER_SIZE 1793

enum {
    KV_OK = 0,
    KV_ERR_HANDLE = -100,      /* invalid handle */
    KV_ERR_NO_PORT = -101,     /* port does not exist */
    KV_ERR_PERMISSION = -102,  /* permission denied */
    KV_ERR_OPEN = -103,        /* port cannot be opened (busy or other) */
    KV_ERR_SPEED = -104,       /* speed not supported */
    KV_ERR_TIMEOUT_ARG = -105, /* bad time-out */
    KV_ERR_NOT_OPEN = -106,    /* port not open */
    KV_ERR_WRITE = -107,       /* write failed */
    KV_ERR_NO_ANSWER = -108,   /* no answer within the time-out */
    KV_ERR_TOO_LONG = -109,    /* answer longer than 254 characters */
    KV_ERR_MALFORMED = -110,   /* malformed answer */
    KV_ERR_CHECKWORD = -111,   /* check word mismatch */
    KV_ERR_BUFFER = -112,      /* text too long for its buffer */
    KV_ERR_LINE_LOST = -113,   /* line lost (device gone, I/O error, connection closed) */
    KV_ERR_NO_RFC2217 = -114   /* the device server does not agree to RFC 2217 (COM-PORT-CONTROL) */
};

#define KV_API __attribute__((visibility("default")))

KV_API int32_t KV_CreateCOM(void);
KV_API int32_t KV_FreeCOM(int32_t* handle);
KV_API int32_t KV_OpenCOM(int32_t handle, const char* portName);
KV_API int32_t KV_CloseCOM(int32_t handle);
KV_API int32_t KV_SetBaudRate(int32_t handle, uint16_t baudRate);
KV_API int32_t KV_SetTimeout(int32_t handle, uint16_t timeoutMs);
KV_API int32_t KV_ASCIICRCWord(const char* request, char* checkWord);
KV_API int32_t KV_TransmitParcel(int32_t handle, const char* parcel);
KV_API int32_t KV_ReceiveParcel(int32_t handle, char* answer);
KV_API int32_t KV_AnalysisAnswerParcel(const char* answer, uint8_t* address, char* data);
KV_API int32_t KV_SearchAvailableCOMPorts(int32_t handle, int32_t reserved, void* window, char* ports);

#ifdef __cplusplus
}
#endif
