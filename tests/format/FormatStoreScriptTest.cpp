// Stored formats and the interface script: a user of a traditional Chinese
// interface stores simplified texts, and sees traditional ones again.
#include "../common/LanguageTestHome.h"
#include "../runtime/designer/SampleReportForm.h"

#include "common/forms/LibCodeConvert.h"
#include "format/FormatStore.h"
#include "runtime/forms/Dialogs.h"
#include "runtime/system/AutoObject.h"

#include <gtest/gtest.h>
#include <memory>

namespace {

// WARRANT in memory: the three members the store calls.
class MemoryFormats : public TAutoObject {
public:
    MemoryFormats()
        : TAutoObject(QStringLiteral("MemoryFormats"))
    {
        AddMethod(QStringLiteral("GetBlobField"), [this](VariantList& a) {
            const QString key = Arg(a, 0)[0].ToString() + u'/' + Arg(a, 0)[1].ToString();
            if (!rows.contains(key))
                return Variant(0);
            SetOut(a, 1, Variant::ArrayOf({QStringLiteral("1"), rows[key]}));
            return Variant(1);
        });
        AddMethod(QStringLiteral("RunUpdFlagSQL"), [](VariantList&) { return Variant(1); });
        AddMethod(QStringLiteral("RunInsUpdSQL"), [this](VariantList& a) {
            const Variant& params = Arg(a, 2);
            const bool update = Arg(a, 0).ToBool();
            const QString key = params[update ? 4 : 3].ToString() + u'/' + params[update ? 5 : 4].ToString();
            QStringList lines;
            const Variant& text = Arg(a, 1);
            for (int i = text.LowBound(); i <= text.HighBound(); ++i)
                lines << text[i].ToString();
            rows[key] = lines.join(QStringLiteral("\r\n"));
            return Variant(1);
        });
    }
    QHash<QString, QString> rows;
};

TEST(FormatStoreScriptTest, ATraditionalInterfaceStoresSimplifiedTextsAndShowsTraditionalOnes)
{
    steward_test::LanguageHome home("950");
    TfrmDesignSample::Register();
    auto server = std::make_shared<MemoryFormats>();
    std::unique_ptr<TfrmDesignSample, FreeComponent> form(new TfrmDesignSample(nullptr));
    auto converter = std::make_unique<TCodeConverter>();
    ASSERT_EQ(converter->UIConvertMode(), 2);
    TFormatStoreHost host;
    host.Form = form.get();
    host.ApplicationServer = Variant(server);
    host.Converter = converter.get();
    host.LangText = [](const QString&, const QString& text) { return text; };
    TFormatStore store(host);
    // What the user sees and edits is traditional.
    form->qrlTitle->SetCaption(QStringLiteral("工單變更單"));
    ScriptedDialogService dialogs;
    store.StoreFormat(form->ClassName(), QStringLiteral("T"));
    ASSERT_TRUE(store.SaveOK);
    const QString stored = server->rows.value(QStringLiteral("TfrmDesignSample/T"));
    // The stored caption is simplified: 工单变更单 as the writer spells it.
    EXPECT_TRUE(stored.contains(QStringLiteral("#24037#21333#21464#26356#21333"))) << qPrintable(stored);

    std::unique_ptr<TfrmDesignSample, FreeComponent> fresh(new TfrmDesignSample(nullptr));
    host.Form = fresh.get();
    TFormatStore reader(host);
    reader.LoadStoredFormat(fresh->ClassName(), QStringLiteral("T"));
    EXPECT_EQ(fresh->qrlTitle->Caption(), QStringLiteral("工單變更單"));
    EXPECT_TRUE(dialogs.Failures().isEmpty());
}

} // namespace
