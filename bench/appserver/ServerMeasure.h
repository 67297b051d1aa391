#pragma once
// What the application server benchmarks measure alike, in-process or through
// the daemon: the change-slip query of the options window, the month query and
// the stream of every slip through the late-bound interface of a server
// object, and the clocks they are timed with.

#include "runtime/system/Variant.h"

#include <QByteArray>
#include <QString>
#include <vector>

class TSocketConnection;

// The change-slip query with the given where part.
QString changeSlipQuery(const QString& where);
// Reads every row of a packet the way a data set loads it; returns the rows.
qint64 consume(const QByteArray& packet, bool& end);
// CPU time of the process in milliseconds.
double cpuMs();
// CPU time of every PostgreSQL server process on this machine, in milliseconds.
double postgresCpuMs();
double median(std::vector<double> v);

struct Figures {
    qint64 monthRows = 0;
    double monthMs = 0; // server and client decoding, median wall time
    qint64 streamRows = 0;
    double streamRowsPerSecond = 0;
};

// The month query (median of 7) and the stream of every slip in packets of
// 5,000 rows, through a server object that Connect is sent to first; prints
// each figure with the engine's name.
Figures measure(const Variant& server, const char* engine, const QString& database);
// Every slip into a client data set over an open connection (Connect as DS
// to DEMO first; PacketRecords 5,000, Open then Last); prints the figures and
// answers rows per second.
double intoDataSet(TSocketConnection& connection, const char* label);
