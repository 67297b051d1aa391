// Feeds arbitrary bytes to the wire reader as one payload, read the way the
// daemon and the client read each message kind. Every value that reads is
// encoded again (as the daemon sends by-reference arguments back) and must
// read back equal. A damaged payload must raise EWireError, never crash,
// overflow or read outside the payload.

#include "runtime/data/WireProtocol.h"

#include <cstdint>
#include <cstdlib>

namespace {

void roundTrip(const Variant& v)
{
    wire::Writer writer(wire::Kind::Result);
    writer.Value(v);
    wire::Reader again(writer.Payload());
    if (!(again.Value() == v))
        std::abort();
    again.End();
}

Variant value(wire::Reader& r)
{
    const Variant v = r.Value();
    roundTrip(v);
    return v;
}

void read(wire::Reader& r)
{
    switch (r.MessageKind()) {
    case wire::Kind::Challenge:
    case wire::Kind::Hello:
        r.U16();
        r.Bytes();
        break;
    case wire::Kind::Refused:
    case wire::Kind::Create:
        r.Text();
        break;
    case wire::Kind::Call: {
        r.U8();
        r.Text();
        const quint32 n = r.U32();
        for (quint32 i = 0; i < n && r.Remaining() > 0; ++i) {
            r.U8();
            value(r);
        }
        break;
    }
    case wire::Kind::Result: {
        value(r);
        const quint32 m = r.U32();
        for (quint32 i = 0; i < m && r.Remaining() > 0; ++i) {
            r.U32();
            value(r);
        }
        break;
    }
    case wire::Kind::Fetch:
        r.Text();
        r.Text();
        r.I32();
        r.I32();
        break;
    case wire::Kind::Batch:
        r.Bytes();
        break;
    case wire::Kind::FetchEnd:
        r.I64();
        r.U8();
        break;
    case wire::Kind::Failure:
        r.Text();
        r.Text();
        break;
    default:
        // Unknown kinds: the body read as a run of values.
        while (r.Remaining() > 0)
            value(r);
        break;
    }
    r.End();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        wire::Reader reader(bytes);
        read(reader);
    } catch (const EWireError&) {
        return 0;
    }
    return 0;
}
