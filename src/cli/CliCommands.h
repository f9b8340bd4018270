#pragma once
// kestrin-cli's commands on the program's exchange layer, catalogue and descriptions.
#include <QStringList>
#include <atomic>

// Runs the command line (without the program name) and returns the exit status. progDir ends in
// "/"; stop is set by Ctrl+C and ends the exchange at the next parameter boundary.
int RunCli(const QStringList& args, const QString& progDir, const std::atomic<bool>& stop);
