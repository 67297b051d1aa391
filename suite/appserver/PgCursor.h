#pragma once
// Rows of a PostgreSQL statement for the back end (PgBackend.h): the reader
// connections that client texts run on, and the cursor that reads a result.
//
// TPgReaderPool hands out connections of one connection text, set up for
// client texts (read-only by default, no JIT, sorts of report size in memory,
// an idle transaction ended by the server after 15 minutes). A lease gives its
// connection back when it ends, unless the connection broke or is still in a
// transaction; at most two idle connections are kept.
//
// TPgCursor reads a whole result, or, given a stream (TPgRowStream), its rows
// as the server sends them. Values are read from the text form of the result.

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

    // A connection with a transaction begun by begin (a script without
    // parameters): an idle one, or a new one when none is idle or the idle one
    // was found broken (the server restarted). Raises EDatabaseError.
    Lease Begin(const QByteArray& begin);

private:
    void give(std::unique_ptr<TPgConnection> conn);

    QString conninfo_;
    std::vector<std::unique_ptr<TPgConnection>> idle_;
};

// A client query whose rows come one by one on a leased reader connection,
// inside the READ ONLY transaction the lease holds (begin: the script that
// began it). The query is a prepared statement of that connection when the
// server takes it (TPgConnection::Prepared), so that its plan is kept; when
// the server refuses to prepare it, or the kept plan no longer fits the
// tables (a column was added to a table read with "*"), the transaction is
// begun again and the text runs unprepared. When the last row is read, or the
// stream is dropped half-way (the server is then asked to stop the query),
// the transaction is rolled back and the connection goes back to the pool.
class TPgRowStream {
public:
    // Sends the query (the statement written with "$n" places, placeCount of
    // them, and their values). Raises EDatabaseError; the connection is then
    // left clean.
    TPgRowStream(TPgReaderPool::Lease lease, QByteArray begin, const QByteArray& sql,
        const VariantList& params, int placeCount);
    ~TPgRowStream();
    TPgRowStream(const TPgRowStream&) = delete;
    TPgRowStream& operator=(const TPgRowStream&) = delete;

    // The next row (a result of one row); after the last, the query's
    // closing result of no rows, then an empty result. Raises EDatabaseError.
    TPgResult Next();

private:
    void send(bool prepare);
    void close() noexcept;

    TPgReaderPool::Lease lease_;
    QByteArray begin_, sql_;
    VariantList params_;
    int placeCount_;
    bool prepared_ = false; // running as a prepared statement
    bool started_ = false; // a row came
    bool running_ = false; // rows may still come
    bool closed_ = false;
};

class TPgCursor : public TDbCursor {
public:
    // The rows of result; with a stream, the rows after it too.
    explicit TPgCursor(TPgResult result, std::unique_ptr<TPgRowStream> stream = nullptr);
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
    std::unique_ptr<TPgRowStream> stream_;
    std::vector<DbColumnKind> kinds_;
    std::vector<bool> booleans_;
    int row_ = -1;
};
