#pragma once
// The rows a report reads. The engine sees rows only through this narrow
// cursor interface; it never sees SQL or a connection.
//
// Contract of every source:
// - First() puts the cursor on the first row; Eof() is true at once when
//   there is none.
// - Next() moves one row on; past the last row Eof() becomes true and the
//   cursor stays on the last row (its fields still read that row).
// - Prior() moves one row back (nothing on the first row) and clears Eof();
//   past the end that is the row before the last, as a data set moves.
//   The engine uses it to print group footers on the group's last row; band
//   handlers use it to hold a row back for the next page.
// - FieldIndex() resolves a name once (case-insensitive; -1 when absent);
//   FieldValue()/FieldText() then read the current row by that index.
// - RecNo() is the current row counting from 1 (0 when empty), RecordCount()
//   the number of rows known so far (for progress; may grow while reading).

#include "runtime/data/DataSet.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

class TQRDataSource {
public:
    virtual ~TQRDataSource() = default;
    virtual void First() = 0;
    virtual void Next() = 0;
    virtual void Prior() = 0;
    virtual bool Eof() const = 0;
    virtual int FieldIndex(const QString& name) const = 0;
    // The typed value (a null QVariant for a null field).
    virtual QVariant FieldValue(int index) const = 0;
    // The value as a report prints it.
    virtual QString FieldText(int index) const = 0;
    virtual int RecNo() const = 0;
    virtual int RecordCount() const = 0;
};

// A source over a data set of runtime/data (a client data set). The data set
// is not owned and must be open while the report reads it; moving this cursor
// moves the data set's own cursor, so band handlers that step the data set
// (Prior) steer the report.
class TQRDataSetSource : public TQRDataSource {
public:
    explicit TQRDataSetSource(TDataSet* dataSet)
        : dataSet_(dataSet)
    {
    }
    TDataSet* DataSet() const { return dataSet_; }

    void First() override;
    void Next() override;
    void Prior() override;
    bool Eof() const override;
    int FieldIndex(const QString& name) const override;
    QVariant FieldValue(int index) const override;
    QString FieldText(int index) const override;
    int RecNo() const override;
    int RecordCount() const override;

private:
    TDataSet* dataSet_;
};

// Rows held in memory: column names and rows of values. For tests, the
// benchmarks and reports built from computed data.
class TQRMemorySource : public TQRDataSource {
public:
    explicit TQRMemorySource(const QStringList& columns);
    // A row of exactly one value per column (shorter rows are padded with nulls).
    void AddRow(QVariantList values);
    int ColumnCount() const { return static_cast<int>(columns_.size()); }

    void First() override;
    void Next() override;
    void Prior() override;
    bool Eof() const override { return eof_; }
    int FieldIndex(const QString& name) const override;
    QVariant FieldValue(int index) const override;
    QString FieldText(int index) const override;
    int RecNo() const override { return rows_.empty() ? 0 : current_ + 1; }
    int RecordCount() const override { return static_cast<int>(rows_.size()); }

private:
    QStringList columns_;
    QHash<QString, int> index_; // upper-case name -> column
    std::vector<QVariantList> rows_;
    int current_ = 0;
    bool eof_ = true;
};
