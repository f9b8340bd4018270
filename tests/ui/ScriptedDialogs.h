#pragma once
// Answers message boxes and file dialogs from a script and records what was asked.
#include "ui/UserDialogs.h"

#include <QApplication>
#include <deque>
#include <gtest/gtest.h>

struct TAskedMessage {
    QString Text;
    QString Caption;
    TMsgButtons Buttons;
    QString Details{}; // the details area, when the box has one
};

class TScriptedDialogs : public IUserDialogs {
public:
    std::deque<TMsgAnswer> Answers;  // used in order; Ok/Yes when the script runs out
    std::deque<QString> FileNames;   // answers of file dialogs ("" = cancelled)
    std::deque<int> FilterIndices;   // chosen filter of save dialogs
    std::vector<TAskedMessage> Asked;
    std::vector<TFileDialogSpec> FileDialogs;

    TMsgAnswer Message(const QString& text, const QString& caption, TMsgButtons buttons,
                       TMsgAnswer = TMsgAnswer::Yes) override {
        Asked.push_back({text, caption, buttons});
        if (Answers.empty())
            return buttons == TMsgButtons::Ok ? TMsgAnswer::Ok : TMsgAnswer::Yes;
        const TMsgAnswer a = Answers.front();
        Answers.pop_front();
        return a;
    }
    TMsgAnswer MessageWithDetails(const QString& text, const QString& caption, TMsgButtons buttons,
                                  const QString& details) override {
        const TMsgAnswer a = Message(text, caption, buttons);
        Asked.back().Details = details;
        return a;
    }
    QString SaveFileName(const TFileDialogSpec& dialogDef, int* filterIndex) override {
        FileDialogs.push_back(dialogDef);
        if (filterIndex) {
            *filterIndex = FilterIndices.empty() ? 0 : FilterIndices.front();
            if (!FilterIndices.empty())
                FilterIndices.pop_front();
        }
        return Next();
    }
    QString OpenFileName(const TFileDialogSpec& dialogDef) override {
        FileDialogs.push_back(dialogDef);
        return Next();
    }
    QString LastText() const { return Asked.empty() ? QString() : Asked.back().Text; }

private:
    QString Next() {
        if (FileNames.empty())
            return QString();
        QString f = FileNames.front();
        FileNames.pop_front();
        return f;
    }
};

// gtest_main does not create an application object; GUI suites need one.
class TQtAppEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        if (!QApplication::instance()) {
            static int argc = 1;
            static char arg0[] = "kestrin-tests";
            static char* argv[] = {arg0, nullptr};
            App = new QApplication(argc, argv);
        }
    }
    QApplication* App = nullptr;
};
inline ::testing::Environment* const QtAppEnv = ::testing::AddGlobalTestEnvironment(new TQtAppEnvironment);
