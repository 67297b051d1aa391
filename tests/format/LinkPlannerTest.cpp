// The relation wizard library, loaded by name and driven as a user would.
#include "format/LinkPlannerCall.h"
#include "runtime/designer/ReportQueryBuilder.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Works the wizard once it is up (it runs modally inside the call).
void whenShown(std::function<void(QDialog*)> work)
{
    QTimer::singleShot(0, [work] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        ASSERT_EQ(dialog->objectName(), QStringLiteral("frmLinkPlanner"));
        work(dialog);
    });
}

void press(QDialog* dialog, QDialogButtonBox::StandardButton which)
{
    dialog->findChild<QDialogButtonBox*>()->button(which)->click();
}

class LinkPlannerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TBuilderPieces p;
        p.Select = QStringLiteral("SELECT A.TO001, B.TP004");
        p.From = QStringLiteral("FROM $$MOCTO A");
        builder.SetQueryParts(p, true);
    }
    ReportQueryBuilder builder;
    QStringList asked;
    TLinkPlannerData data {[this](const QString& table) {
        asked << table;
        return table == QLatin1String("INVMB") ? QStringList {"MB001", "MB002", "MB003"} : QStringList {};
    }};
};

TEST_F(LinkPlannerTest, TheWizardAddsTheChosenRelationAndFields)
{
    whenShown([](QDialog* d) {
        d->findChild<QComboBox*>(QStringLiteral("cboTable"))->setCurrentText(QStringLiteral("INVMB"));
        d->findChild<QComboBox*>(QStringLiteral("cboKey"))->setCurrentText(QStringLiteral("MB001"));
        d->findChild<QComboBox*>(QStringLiteral("cboJoinTo"))->setCurrentText(QStringLiteral("B.TP004"));
        auto* fields = d->findChild<QListWidget*>(QStringLiteral("lstFields"));
        ASSERT_EQ(fields->count(), 3);
        fields->item(1)->setCheckState(Qt::Checked);
        d->findChild<QCheckBox*>(QStringLiteral("chkBarcode"))->setChecked(true);
        press(d, QDialogButtonBox::Ok);
    });
    EXPECT_EQ(RunLinkPlanner(QStringLiteral("/nowhere/"), nullptr, &builder, &data, true), 1);
    ASSERT_EQ(builder.TableCount(), 1);
    EXPECT_EQ(builder.RelationTables()->Strings(0), QStringLiteral("INVMB\tRT0.MB001 = B.TP004"));
    ASSERT_EQ(builder.FieldCount(0), 1);
    EXPECT_EQ(builder.Field(0, 0).Column, QStringLiteral("MB002"));
    EXPECT_EQ(builder.Field(0, 0).Kind, 1);
    EXPECT_TRUE(asked.contains(QStringLiteral("INVMB")));
}

TEST_F(LinkPlannerTest, ABadTableKeepsTheWizardOpenAndCancelAddsNothing)
{
    whenShown([](QDialog* d) {
        d->findChild<QComboBox*>(QStringLiteral("cboTable"))->setCurrentText(QStringLiteral("INVMB;DROP"));
        press(d, QDialogButtonBox::Ok);
        EXPECT_TRUE(d->isVisible());
        EXPECT_FALSE(d->findChild<QLabel*>(QStringLiteral("lblError"))->text().isEmpty());
        press(d, QDialogButtonBox::Cancel);
    });
    EXPECT_EQ(RunLinkPlanner(QStringLiteral("/nowhere/"), nullptr, &builder, &data, true), 0);
    EXPECT_EQ(builder.TableCount(), 0);
    EXPECT_FALSE(asked.contains(QStringLiteral("INVMB;DROP")));
    // Not asked for and no extended field yet: the wizard is not shown.
    EXPECT_EQ(RunLinkPlanner(QStringLiteral("/nowhere/"), nullptr, &builder, &data), 0);
    EXPECT_TRUE(data.Columns(QStringLiteral("A B")).isEmpty());
}

} // namespace
