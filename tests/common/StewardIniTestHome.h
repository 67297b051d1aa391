#pragma once
// A suite installation inside a temporary folder for configuration tests: a
// registry file naming the home folders, $STEWARD_REGISTRY pointing at it and
// the system code page set through $STEWARD_ACP.

#include "support/TestSupport.h"

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

#include <memory>

namespace steward_test {

using RegistryValues = QList<QPair<QString, QString>>;

class TestHome {
public:
    // Writes a registry key "Software\HVN\Steward" with the given values.
    explicit TestHome(const RegistryValues& values, const QByteArray& acp = "936")
        : registry_("STEWARD_REGISTRY", folder_.file(QStringLiteral("registry.reg")).toLocal8Bit())
        , acp_("STEWARD_ACP", acp)
        , tmp_("TMPDIR", folder_.file(QStringLiteral("tmp")).toLocal8Bit())
    {
        WriteRegistry(values);
    }

    // Replaces the registry file with one holding the given values.
    void WriteRegistry(const RegistryValues& values) const
    {
        QByteArray text
            = "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\HVN\\Steward]\r\n";
        for (const auto& [name, value] : values) {
            QString escaped = value;
            escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"))
                .replace(QLatin1Char('"'), QStringLiteral("\\\""));
            text += '"' + name.toUtf8() + "\"=\"" + escaped.toUtf8() + "\"\r\n";
        }
        folder_.write(QStringLiteral("registry.reg"), text);
    }

    // A home folder below the temporary folder (native path, no trailing "/").
    QString Folder(const QString& name) const { return folder_.file(name); }
    // Writes a file below the temporary folder; returns its native path.
    QString Write(const QString& relative, const QByteArray& bytes) const
    {
        return folder_.write(relative, bytes);
    }
    QByteArray Read(const QString& relative) const { return folder_.read(relative); }
    bool Exists(const QString& relative) const { return folder_.exists(relative); }

private:
    testsupport::TempFolder folder_;
    testsupport::ScopedEnv registry_;
    testsupport::ScopedEnv acp_;
    testsupport::ScopedEnv tmp_;
};

} // namespace steward_test
