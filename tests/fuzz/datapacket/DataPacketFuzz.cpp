// Feeds arbitrary bytes to the data packet reader: header, field descriptors
// and every row, each cell read every way. A damaged packet must raise
// EDatabaseError, never crash or read outside the packet.

#include "runtime/data/DataPacket.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        DataPacketReader reader(bytes);
        for (int row = 0; row < 100000 && reader.NextRow(); ++row) {
            for (int field = 0; field < reader.FieldCount(); ++field) {
                if (reader.IsNull(field))
                    continue;
                (void)reader.String(field);
                (void)reader.Value(field);
                (void)reader.Utf8(field);
                (void)reader.Integer(field);
                (void)reader.Float(field);
                (void)reader.Boolean(field);
            }
        }
    } catch (const Exception&) {
        return 0;
    }
    return 0;
}
