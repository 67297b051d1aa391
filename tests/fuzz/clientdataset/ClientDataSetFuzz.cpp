// Feeds arbitrary bytes to a client data set as its packet (LoadFromPacket),
// opens it and walks every record forwards and backwards reading each field
// as text and as a value. A damaged packet must make Open raise, never crash.

#include "runtime/data/ClientDataSet.h"
#include "runtime/data/Field.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    TClientDataSet dataSet;
    try {
        dataSet.LoadFromPacket(bytes);
        dataSet.Open();
        int records = 0;
        for (dataSet.First(); !dataSet.Eof() && records < 100000; dataSet.Next(), ++records) {
            for (int i = 0; i < dataSet.FieldCount(); ++i) {
                const TField* field = dataSet.Fields().Field(i);
                (void)field->AsString();
                (void)field->Value();
            }
        }
        dataSet.Last();
        while (records-- > 0)
            dataSet.Prior();
        (void)dataSet.Data();
        dataSet.Close();
    } catch (const Exception&) {
        return 0;
    }
    return 0;
}
