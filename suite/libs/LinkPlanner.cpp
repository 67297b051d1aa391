// The relation wizard library ("LinkPlanner.dll" -> libLinkPlanner.so).
//
// One C entry point:
//   int GetSQLFixed(QObject* form, QObject* builder, QObject* data)
// shows the relation wizard over form (may be null): the user picks a
// related table, the column of that table and the column of the report's
// query that join them, and the table's fields to offer as extended
// fields (as data texts, or as barcodes). On OK the relation and the
// fields are added to builder. Answers 1 when something was added, 0 when
// the user cancelled, -1 when builder or data cannot be used or the builder
// refused the relation.
//
// The library links none of the module's own code, only Qt: the module
// and the library share Qt's one copy, and the library reaches the
// builder and the data through Qt's meta-object calls by name:
//   builder: int TableCount(), QStringList BaseColumns(),
//            int AddRelationTable(QString table, QString condition),
//            int AddField(int table, QString column, QString caption, int kind)
//   data:    QStringList Tables(), QStringList Columns(QString table)
// The wizard is a plain Qt dialog named "frmLinkPlanner"; its parts are
// named cboTable, cboKey, cboJoinTo, lstFields, chkBarcode, lblError.

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QListWidget>
#include <QMetaObject>
#include <QRegularExpression>
#include <QVBoxLayout>
#include <QWidget>

namespace {

bool isIdentifier(const QString& text)
{
    static const QRegularExpression ident(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]{0,63}$"));
    return ident.match(text).hasMatch();
}

QStringList callList(
    QObject* target, const char* member, const QString& argument = QString(), bool withArgument = false)
{
    QStringList result;
    const bool ok = withArgument
        ? QMetaObject::invokeMethod(
            target, member, Qt::DirectConnection, Q_RETURN_ARG(QStringList, result), Q_ARG(QString, argument))
        : QMetaObject::invokeMethod(target, member, Qt::DirectConnection, Q_RETURN_ARG(QStringList, result));
    return ok ? result : QStringList();
}

class LinkWizard : public QDialog {
public:
    LinkWizard(QWidget* parent, QObject* builder, QObject* data)
        : QDialog(parent)
        , builder_(builder)
        , data_(data)
    {
        setObjectName(QStringLiteral("frmLinkPlanner"));
        setWindowTitle(QStringLiteral("关联表设定"));
        auto* layout = new QVBoxLayout(this);
        auto* form = new QFormLayout;
        layout->addLayout(form);
        table_ = new QComboBox(this);
        table_->setObjectName(QStringLiteral("cboTable"));
        table_->setEditable(true);
        table_->addItems(callList(data_, "Tables"));
        table_->setCurrentIndex(-1);
        form->addRow(QStringLiteral("关联表"), table_);
        key_ = new QComboBox(this);
        key_->setObjectName(QStringLiteral("cboKey"));
        form->addRow(QStringLiteral("关联栏位"), key_);
        joinTo_ = new QComboBox(this);
        joinTo_->setObjectName(QStringLiteral("cboJoinTo"));
        joinTo_->addItems(callList(builder_, "BaseColumns"));
        form->addRow(QStringLiteral("对应报表栏位"), joinTo_);
        fields_ = new QListWidget(this);
        fields_->setObjectName(QStringLiteral("lstFields"));
        layout->addWidget(new QLabel(QStringLiteral("扩展栏位"), this));
        layout->addWidget(fields_);
        barcode_ = new QCheckBox(QStringLiteral("以条码显示"), this);
        barcode_->setObjectName(QStringLiteral("chkBarcode"));
        layout->addWidget(barcode_);
        error_ = new QLabel(this);
        error_->setObjectName(QStringLiteral("lblError"));
        error_->setStyleSheet(QStringLiteral("color: red"));
        layout->addWidget(error_);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        layout->addWidget(buttons);
        connect(buttons, &QDialogButtonBox::accepted, this, &LinkWizard::tryAccept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        connect(table_, &QComboBox::currentTextChanged, this, &LinkWizard::tableChosen);
    }

    int Added() const { return added_; }

private:
    void tableChosen(const QString& table)
    {
        key_->clear();
        fields_->clear();
        if (!isIdentifier(table.trimmed()))
            return;
        const QStringList columns = callList(data_, "Columns", table.trimmed(), true);
        key_->addItems(columns);
        for (const QString& c : columns) {
            auto* item = new QListWidgetItem(c, fields_);
            item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
            item->setCheckState(Qt::Unchecked);
        }
    }

    void tryAccept()
    {
        const QString table = table_->currentText().trimmed();
        const QString key = key_->currentText().trimmed();
        const QString joinTo = joinTo_->currentText().trimmed();
        if (!isIdentifier(table) || !isIdentifier(key) || joinTo.isEmpty()) {
            error_->setText(QStringLiteral("请选择关联表、关联栏位与对应的报表栏位"));
            return;
        }
        int index = -1;
        QMetaObject::invokeMethod(builder_, "TableCount", Qt::DirectConnection, Q_RETURN_ARG(int, index));
        // Relation tables are aliased RT<index> in the report's query.
        const QString condition = QStringLiteral("RT%1.%2 = %3").arg(index).arg(key, joinTo);
        int tableIndex = -1;
        QMetaObject::invokeMethod(builder_, "AddRelationTable", Qt::DirectConnection,
            Q_RETURN_ARG(int, tableIndex), Q_ARG(QString, table), Q_ARG(QString, condition));
        if (tableIndex < 0) {
            error_->setText(QStringLiteral("关联条件无效"));
            return;
        }
        added_ = 1;
        for (int i = 0; i < fields_->count(); ++i) {
            QListWidgetItem* item = fields_->item(i);
            if (item->checkState() != Qt::Checked)
                continue;
            int field = -1;
            QMetaObject::invokeMethod(builder_, "AddField", Qt::DirectConnection, Q_RETURN_ARG(int, field),
                Q_ARG(int, tableIndex), Q_ARG(QString, item->text()), Q_ARG(QString, item->text()),
                Q_ARG(int, barcode_->isChecked() ? 1 : 0));
        }
        accept();
    }

    QObject* builder_;
    QObject* data_;
    QComboBox* table_;
    QComboBox* key_;
    QComboBox* joinTo_;
    QListWidget* fields_;
    QCheckBox* barcode_;
    QLabel* error_;
    int added_ = 0;
};

} // namespace

extern "C" __attribute__((visibility("default"))) int GetSQLFixed(
    QObject* form, QObject* builder, QObject* data)
{
    if (!builder || !data || builder->metaObject()->indexOfMethod("AddRelationTable(QString,QString)") < 0)
        return -1;
    LinkWizard wizard(qobject_cast<QWidget*>(form), builder, data);
    if (wizard.exec() != QDialog::Accepted)
        return 0;
    return wizard.Added();
}
