#pragma once
// The connection dialog's workers: link check, version query and bus search. Each opens its own
// link with the dialog's settings, runs one identification operation and reports in the dialog's
// status line; every effect on the dialog is handed to the user-interface thread (exchange/Workers.h).
#include "exchange/KvLibrary.h"
#include "exchange/Workers.h"

class TfrmDevSet;

class ThreadDevCheck : public TExchangeWorker {
public:
    ThreadDevCheck(TfrmDevSet& dialog, const TKvApi& api);
};

// Also sets the dialog's DeviceVersion and LinkEstablished.
class ThreadDevGetVersion : public TExchangeWorker {
public:
    ThreadDevGetVersion(TfrmDevSet& dialog, const TKvApi& api);
};

// Lists the answering addresses in the dialog's address box.
class ThreadDevSearch : public TExchangeWorker {
public:
    ThreadDevSearch(TfrmDevSet& dialog, const TKvApi& api);
};
