#pragma once
// Whether a component reads the client's or the server's configuration.

#include <QObject>

namespace Steward {
Q_NAMESPACE
enum TDesignType { dtClient, dtServer };
Q_ENUM_NS(TDesignType)
} // namespace Steward

using Steward::dtClient;
using Steward::dtServer;
using Steward::TDesignType;
