#pragma once
// Help for a serial port the system does not let the user open (library code -102).
#include <QString>

// The device node a port name stands for, as the library opens it: an absolute path as given,
// a short name under /dev.
QString PortDevicePath(const QString& portName);

// How to get access to the port: the group that owns its device node and the command that adds
// the user to that group, then a new login. Ports of the root group or an unreadable node get
// advice without a command (joining root's group is no fix).
QString PortPermissionHelp(const QString& portName);
