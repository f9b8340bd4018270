#pragma once
// Command line of kestrin-cli: the command, its options, address lists and the help texts.
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// Exit statuses.
enum : int {
    CliOk = 0,
    CliUsage = 1,
    CliExchangeFailed = 2,
    CliRefused = 3, // verification mismatch, refused values, differences found
    CliFileError = 4,
};

// One line of a run over several ports: the port and the addresses worked on it.
struct TCliLine {
    QString Port;
    QList<int> Addresses;
};

struct TCliOptions {
    QString Command;       // ports, scan, read, write, diff, measure, calibrate
    QString Port;          // the port of a run over one line (its addresses in Addresses)
    QList<TCliLine> Lines; // a run over several ports: one entry each, in the order given
    QString Speed;         // one of the seven speeds, or "all" (scan)
    QList<int> Addresses;
    QString Type; // catalogue entry name; empty: the first entry
    QString Out;
    QString In;
    QString Csv;
    QString What; // line | compensator
    QList<int> Channels;
    double Seconds = -1;
    int TimeoutMs = -1;
    bool Verify = false;
    bool DryRun = false;
    bool ReadFirst = false;   // write: read the instrument first, so the record has the values before
    QString Report;           // write: the HTML report of the run's commissioning records
    bool FileAddress = false; // write: the instrument takes the file's network address (one address only)
    bool Json = false;
    bool Help = false;
    bool Version = false;
    QString Trace;
    QString Lang; // "en" or "ru" from --lang; empty: the system locale
};

// "1,2,5-9": every address 1..255, in the order written, duplicates dropped; nullopt (with the
// reason) for anything else.
std::optional<QList<int>> ParseAddressList(const QString& text, QString* error);

// --port's value: ports separated by commas, each with its own address list after its last ':'
// ("ttyUSB0:1-3,5,ttyUSB1:7") or without one (the --address list). Network addresses keep their
// own ':' ("tcp://10.0.0.5:4001:1-3"). Empty on success, else the reason in Russian.
QString ParsePortList(const QString& text, const QList<int>& addresses, bool addressesGiven,
                      QList<TCliLine>& lines);

// Parses and checks the command line (without the program name). Empty on success, else the
// reason in Russian; exit status CliUsage follows.
QString ParseCliArgs(const QStringList& args, TCliOptions& options);

// Russian help: the overview for an empty command, else the command's own.
QString CliHelpText(const QString& command);
