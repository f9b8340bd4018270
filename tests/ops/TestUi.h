#pragma once
// The user-interface side of the exchange operations, answered by the test and recorded.
#include "exchange/ExchangeUi.h"
#include "model/Model.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

class TTestUi : public IExchangeUi {
public:
    TTestUi(QString progDir, TDevProp& type, TDev& dev) : ProgDir(std::move(progDir)), Type(type), Dev(dev) {}

    QStringList Messages;                 // the message pane, in order
    QStringList Questions;                // Yes/No questions asked
    QStringList Errors;                   // error boxes: text
    std::deque<bool> Answers;             // answers to the questions (No when none is left)
    std::vector<int> Progress;
    std::vector<int> Stored;              // indices of StoreValue
    bool ProgressShown = false;
    int Reloads = 0;
    std::function<void(int)> OnStore;     // after a value is stored
    QStringList Table;                    // the table's cells as values (TableToValues copies them)
    std::vector<std::pair<int, QString>> Shown;
    std::vector<std::pair<int, double>> Points;
    std::function<bool(int)> Selected = [](int) { return true; };
    std::function<void(int, const QString&)> OnShow;
    QStringList ExchangeStatus;
    // Runs when a question is asked, before it is answered.
    std::function<void(const QString&)> OnAsk;

    void ShowMessage(const QString& t) override { Messages << t; }
    void ShowExchangeStatus(const QString& t) override { ExchangeStatus << t; }
    void ShowProgress(bool on) override { ProgressShown = on; }
    void SetProgress(int p) override { Progress.push_back(p); }
    bool AskYesNo(const QString& text, const QString&) override {
        Questions << text;
        if (OnAsk)
            OnAsk(text);
        if (Answers.empty())
            return false;
        const bool a = Answers.front();
        Answers.pop_front();
        return a;
    }
    void ShowError(const QString& text, const QString&) override { Errors << text; }
    void StoreValue(int i, const QString& v) override {
        Dev.Values[i] = v;
        Stored.push_back(i);
        if (OnStore)
            OnStore(i);
    }
    void TableToValues() override {
        if (!Table.isEmpty())
            Dev.Values = Table;
    }
    int FirstEmptyValue() override {
        for (int i = 0; i < Dev.Values.size(); ++i)
            if (Dev.Values[i].isEmpty())
                return i;
        return -1;
    }
    bool ReloadDescriptions(const QString& version) override {
        ++Reloads;
        return Reload(ProgDir, Type, Dev, version);
    }
    void SetDevAddress(uint8_t a) override { Dev.Address = a; }
    void SetDevBaudRate(uint16_t b) override { Dev.BaudRate = b; }
    void ClearSeries() override { Points.clear(); }
    void SwitchAutoScaleOn() override {}
    bool ChannelSelected(int k) override { return Selected(k); }
    void ShowValue(int k, const QString& t) override {
        Shown.emplace_back(k, t);
        if (OnShow)
            OnShow(k, t);
    }
    void AddPoint(int k, double minutes, double v) override {
        Points.emplace_back(k, v);
        Minutes.push_back(minutes);
    }
    std::vector<double> Minutes;
    // Channels that failed until the question came, in order (a gap each).
    void ReadingFailed(int k) override { Failed.push_back(k); }
    std::vector<int> Failed;

private:
    QString ProgDir;
    TDevProp& Type;
    TDev& Dev;
};
