#pragma once
// A demo home in a temporary folder with the registry pointing at it, and a
// work-centre manager made the way programs make it:
// CreateOleObject("HubDesk.Manager"). Help pages never reach a browser: the
// opener records them.

#include "runtime/system/AutoObject.h"
#include "support/TestSupport.h"

#include <QList>
#include <QUrl>
#include <gtest/gtest.h>
#include <memory>

class HubDeskTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Rewrites the client configuration with another user-interface code page.
    void SetUICodePage(const QString& codePage);
    static QString Text(const char* utf8) { return QString::fromUtf8(utf8); }

    testsupport::TempFolder home_;
    std::unique_ptr<testsupport::ScopedEnv> registry_;
    Variant manager_;
    QList<QUrl> opened_;
};
