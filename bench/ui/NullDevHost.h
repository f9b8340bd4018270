#pragma once
// A device table's host and dialogs that do nothing, for timing the table alone.
#include "ui/DevTable.h"
#include "ui/UserDialogs.h"

struct TNullHost : TDevHost {
    void PrjChange() override {}
    void BuildMeasureView(const TDevProp&) override {}
    void SetDevStatusText(const QString&) override {}
};

struct TNullDialogs : IUserDialogs {
    TMsgAnswer Message(const QString&, const QString&, TMsgButtons, TMsgAnswer) override {
        return TMsgAnswer::Ok;
    }
    QString SaveFileName(const TFileDialogSpec&, int*) override { return {}; }
    QString OpenFileName(const TFileDialogSpec&) override { return {}; }
};
