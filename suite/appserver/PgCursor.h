#pragma once
// Rows of a PostgreSQL statement for the back end (PgBackend.h): the reader
// connections that client texts run on, and the cursor that reads a result.
//
// TPgReaderPool hands out connections of one connection text, set up for
// client texts (read-only by default, planned for reading every row, an idle
// transaction ended by the server after 15 minutes). A lease gives its
// connection back when it ends, unless the connection broke or is still in a
// transaction; at most two idle connections are kept.
//
// TPgCursor reads a whole result, or, given a stream, one batch after the
// other: TPgStream keeps a server-side cursor open in a READ ONLY transaction
// on its leased connection and always has the next batch asked for while the
// current one is read. When the last batch is read, or the cursor is dropped
// half-way, the transaction is rolled back and the connection goes back to
// the pool. Values are read from the text form of the result.

#include "suite/appserver/DbBackend.h"
#include "suite/appserver/PgConnection.h"

#include <memory>
#include <vector>

class TPgReaderPool : public std::enable_shared_from_this<TPgReaderPool> {
public:
    explicit TPgReaderPool(QString conninfo)
        : conninfo_(std::move(conninfo))
    {
    }

    class Lease {
    public:
        Lease(std::shared_ptr<TPgReaderPool> pool, std::unique_ptr<TPgConnection> conn)
            : pool_(std::move(pool))
            , conn_(std::move(conn))
        {
        }
        ~Lease();
        Lease(Lease&&) = default;
        Lease(const Lease&) = delete;
        Lease& operator=(const Lease&) = delete;
        TPgConnection& operator*() const { return *conn_; }
        TPgConnection* operator->() const { return conn_.get(); }

    private:
        std::weak_ptr<TPgReaderPool> pool_;
        std::unique_ptr<TPgConnection> conn_;
    };

    // An idle connection, or a new one. Raises EDatabaseError.
    Lease Take();

private:
    void give(std::unique_ptr<TPgConnection> conn);

    QString conninfo_;
    std::vector<std::unique_ptr<TPgConnection>> idle_;
};

// A query running as a server-side cursor on a leased reader connection.
class TPgStream {
public:
    // Rows per batch.
    static constexpr int BatchRows = 2000;

    // Opens the cursor (the statement written with "$n" places) in a READ
    // ONLY transaction whose statements may run timeoutMs each (0: no limit).
    // Raises EDatabaseError; the connection is then left clean.
    TPgStream(TPgReaderPool::Lease lease, const QByteArray& sql, const VariantList& params, int timeoutMs);
    ~TPgStream();
    TPgStream(const TPgStream&) = delete;
    TPgStream& operator=(const TPgStream&) = delete;

    // The next batch; an empty result after the last. Raises EDatabaseError.
    TPgResult NextBatch();

private:
    static QByteArray fetchStatement();
    void close() noexcept;

    TPgReaderPool::Lease lease_;
    bool pending_ = false; // a FETCH was sent and not yet taken
    bool done_ = false;
    bool closed_ = false;
};

class TPgCursor : public TDbCursor {
public:
    // The rows of result; with a stream, the batches after it too.
    explicit TPgCursor(TPgResult result, std::unique_ptr<TPgStream> stream = nullptr);
    ~TPgCursor() override;

    bool Next() override;
    int ColumnCount() const override;
    QString ColumnName(int column) const override;
    DbColumnKind ColumnKind(int column) const override;
    bool IsNull(int column) const override;
    QString Text(int column) const override;
    QByteArrayView Utf8(int column) const override;
    bool Utf8IfNotNull(int column, QByteArrayView& text) const override;
    qint64 Int64(int column) const override;
    double Double(int column) const override;
    Variant Value(int column) const override;

private:
    TPgResult result_;
    std::unique_ptr<TPgStream> stream_;
    std::vector<DbColumnKind> kinds_;
    std::vector<bool> booleans_;
    int row_ = -1;
};
