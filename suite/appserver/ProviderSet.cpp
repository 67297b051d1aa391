#include "suite/appserver/ProviderSet.h"

namespace {

TFieldType typeOf(const TDbCursor& c, int column, bool haveRow)
{
    switch (c.ColumnKind(column)) {
    case DbColumnKind::Text:
        return ftString;
    case DbColumnKind::Integer:
        return ftInteger;
    case DbColumnKind::Float:
        return ftFloat;
    case DbColumnKind::Blob:
        return ftBlob;
    case DbColumnKind::Unknown:
        break;
    }
    if (!haveRow || c.IsNull(column))
        return ftString;
    switch (c.Value(column).Type()) {
    case VarType::Integer:
        return ftInteger;
    case VarType::Float:
        return ftFloat;
    case VarType::Bytes:
        return ftBlob;
    default:
        return ftString;
    }
}

} // namespace

QStringList TProviderSet::Names()
{
    return {QStringLiteral("Provider1"), QStringLiteral("Provider2"), QStringLiteral("pvdConSave"),
        QStringLiteral("pvdTemp")};
}

void TProviderSet::CloseAll()
{
    open_.clear();
}

void TProviderSet::open(Open& state, const QString& provider, const QString& request)
{
    state.cursor.reset();
    state.cursor = opener_(provider, request);
    TDbCursor& c = *state.cursor;
    state.opened = true;
    state.pending = c.Next();
    state.atEnd = !state.pending;
    state.writer = DataPacketWriter();
    for (int i = 0; i < c.ColumnCount(); ++i) {
        const QString base = c.ColumnName(i);
        QString name = base;
        for (int n = 1; state.writer.HasField(name); ++n)
            name = base + u'_' + QString::number(n);
        state.writer.AddField(name, typeOf(c, i, state.pending));
    }
}

void TProviderSet::writeRow(Open& state)
{
    const TDbCursor& c = *state.cursor;
    DataPacketWriter& w = state.writer;
    const QList<FieldDescriptor>& fields = w.Fields();
    QByteArrayView text;
    for (int i = 0; i < fields.size(); ++i) {
        const TFieldType type = fields[i].Type;
        if (type == ftString) { // nearly every column of the ERP's tables
            if (c.Utf8IfNotNull(i, text))
                w.WriteUtf8(text);
            else
                w.WriteNull();
            continue;
        }
        if (c.IsNull(i)) {
            w.WriteNull();
            continue;
        }
        switch (type) {
        case ftInteger:
            w.WriteInteger(c.Int64(i));
            break;
        case ftFloat:
            w.WriteFloat(c.Double(i));
            break;
        case ftBlob:
            w.WriteBytes(c.Value(i).ToBytes());
            break;
        default:
            w.WriteUtf8(c.Utf8(i));
            break;
        }
    }
}

QByteArray TProviderSet::GetRecords(
    const QString& provider, int count, int& rowsSent, const QString& request, int options)
{
    const QString key = provider.toLower();
    if (!Names().contains(provider, Qt::CaseInsensitive))
        throw EDatabaseError(QStringLiteral("no provider named \"%1\"").arg(provider));
    std::shared_ptr<Open>& state = open_[key];
    if (!state)
        state = std::make_shared<Open>();
    if (!state->opened || (options & GetRecordsReset) || !request.isEmpty()) {
        try {
            open(*state, provider, request);
        } catch (...) {
            open_.remove(key);
            throw;
        }
    }
    Open& s = *state;
    rowsSent = 0;
    while (s.pending && (count < 0 || rowsSent < count)) {
        writeRow(s);
        ++rowsSent;
        s.pending = s.cursor->Next();
    }
    s.atEnd = !s.pending;
    QByteArray packet = s.writer.Finish(s.atEnd);
    if (s.atEnd)
        s.cursor.reset(); // free the statement; the fields stay for a later call
    return packet;
}
