// Every form of the module opened with the shipped language packages
// (data/MultiLanguage): with the English package no text of a window or of
// the slip is left in Chinese, with the Traditional package none is left in
// simplified characters or mainland words.

#include "common/forms/FontAliases.h"
#include "common/forms/LangCatalogue.h"
#include "criteria/GeneCondition.h"
#include "criteria/SelectPnl.h"
#include "format/TfrmVRConvPic.h"
#include "format/TfrmVRSendOut.h"
#include "format/VRPreviewF.h"
#include "options/EmailSubjectF.h"
#include "runtime/forms/Persistent.h"
#include "runtime/system/ScriptConverter.h"
#include "support/TestSupport.h"
#include "zorv52/ChangeSlipWindowFixture.h"
#include "zorv52/Zorv52F.h"
#include "zorv52/Zorv52FmtF.h"

#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QMetaProperty>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Texts left in Chinese on purpose: the words of amounts in Chinese capitals.
const QStringList untranslatedComponents {QStringLiteral("memoChCapital")};

bool namesSomething(const QString& property)
{
    return property.endsWith(QStringLiteral("Name"), Qt::CaseInsensitive)
        || property.compare(u"DataField", Qt::CaseInsensitive) == 0
        || property.compare(u"DataSet", Qt::CaseInsensitive) == 0;
}

// "component.Property[i]=text" for every text a component shows: string
// properties, the lines of string lists and the texts of collection items.
void collectTexts(const QObject* object, const QString& where, QStringList& texts, int depth = 0)
{
    const QMetaObject* meta = object->metaObject();
    for (int i = 0; i < meta->propertyCount(); ++i) {
        const QMetaProperty property = meta->property(i);
        const QString name = QString::fromLatin1(property.name());
        if (namesSomething(name))
            continue;
        const QVariant value = property.read(object);
        if (value.metaType().id() == QMetaType::QString) {
            if (!value.toString().isEmpty())
                texts << where + u'.' + name + u'=' + value.toString();
        } else if (auto* list = qobject_cast<TStrings*>(value.value<QObject*>())) {
            const QStringList lines = list->Lines();
            for (int line = 0; line < lines.size(); ++line)
                texts << QStringLiteral("%1.%2[%3]=%4").arg(where, name).arg(line).arg(lines[line]);
        } else if (auto* collection = qobject_cast<TCollection*>(value.value<QObject*>());
                   collection && depth == 0) {
            for (int item = 0; item < collection->Count(); ++item)
                collectTexts(collection->Items(item), QStringLiteral("%1.%2[%3]").arg(where, name).arg(item),
                    texts, 1);
        }
    }
}

// Every component the form owns, and what they own in turn (a selection
// panel's own edits and labels).
QStringList formTexts(TComponent* form)
{
    QStringList texts;
    std::function<void(TComponent*)> walk = [&](TComponent* component) {
        if (untranslatedComponents.contains(component->Name()))
            return;
        collectTexts(component,
            component->Name().isEmpty() ? QString::fromLatin1(component->metaObject()->className())
                                        : component->Name(),
            texts);
        for (TComponent* owned : component->ComponentList())
            walk(owned);
    };
    walk(form);
    return texts;
}

// The change-slip window on a demo home whose interface code page is
// GetParam(), with the shipped packages in its MultiLanguage folder.
class LanguagePackages : public ChangeSlipWindowTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override
    {
        ChangeSlipWindowTest::SetUp();
        const QByteArray codePage = GetParam();
        code_ = codePage == "437" ? QStringLiteral("ENG") : QStringLiteral("CHT");
        QFile ini(home_.file(QStringLiteral("StewardC.ini")));
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        QByteArray settings = ini.readAll();
        ini.close();
        ASSERT_TRUE(settings.contains("UICodePage=936"));
        home_.write(
            QStringLiteral("StewardC.ini"), settings.replace("UICodePage=936", "UICodePage=" + codePage));
        const QDir shipped(testsupport::sourcePath(QStringLiteral("data/MultiLanguage/") + code_));
        const QStringList files = shipped.entryList({QStringLiteral("*.Lng")}, QDir::Files);
        ASSERT_FALSE(files.isEmpty()) << qPrintable(shipped.path());
        for (const QString& file : files)
            home_.write(QStringLiteral("MultiLanguage/%1/%2").arg(code_, file),
                testsupport::readAll(shipped.filePath(file)));
    }

    // A simplified character: one that OpenCC turns into another on its own
    // (each character alone, so that no phrase of traditional variants,
    // 稽核 -> 稽覈, counts).
    bool hasSimplified(const QString& text) const
    {
        QStringList characters;
        for (const char32_t c : text.toUcs4())
            characters << QString::fromUcs4(&c, 1);
        return traditional_.Convert(characters.join(u'\n')) != characters.join(u'\n');
    }

    // What is left in the source language among texts; empty when none.
    QStringList leftInSource(const QStringList& texts) const
    {
        QStringList left;
        for (const QString& entry : texts) {
            const QString text = entry.section(u'=', 1);
            if (code_ == u"ENG" ? HasCjkText(text) : hasSimplified(text))
                left << entry;
        }
        return left;
    }

    // Shows form's texts in the interface language and checks them.
    void expectTranslated(THVForm* form)
    {
        form->PrepareShow();
        EXPECT_TRUE(form->LanguageErrors().isEmpty()) << form->LanguageErrors().join(u'\n').toStdString();
        const QStringList texts = formTexts(form);
        EXPECT_GT(texts.size(), 3) << "a form with hardly a text: nothing was looked at";
        const QStringList left = leftInSource(texts);
        EXPECT_TRUE(left.isEmpty()) << form->metaObject()->className() << " in " << code_.toStdString()
                                    << ":\n"
                                    << left.join(u'\n').toStdString();
    }

    QString code_;
    const TScriptConverter traditional_ {QStringLiteral("s2t.json")};
};

TEST_P(LanguagePackages, OptionsWindowAndItsConditionDialog)
{
    OpenWindow(true);
    expectTranslated(form_.get());
    if (code_ == u"ENG") {
        EXPECT_TRUE(form_->Caption().startsWith(QStringLiteral("Print Work Order Change Slips")))
            << form_->Caption().toStdString();
        EXPECT_EQ(form_->Font()->Name(), QStringLiteral("Tahoma")) << "a Latin face, not the Song face";
    } else {
        // Converting characters alone would say 打印: the package says 列印.
        EXPECT_TRUE(form_->Caption().startsWith(QStringLiteral("工單變更單列印")))
            << form_->Caption().toStdString();
    }
    std::unique_ptr<TfrmGeneCondition, FreeComponent> dialog(
        new TfrmGeneCondition(form_.get(), form_->DateFieldList(), 0));
    expectTranslated(dialog.get());
    // The date fields are offered under the window's own captions, as the
    // window shows them (not converted once more by the dialog).
    auto* approval = form_->FindComponent<TSelectPanel>(QStringLiteral("spTO043"));
    ASSERT_NE(approval, nullptr);
    EXPECT_TRUE(dialog->cbodatecondition->Items()->Lines().contains(approval->Caption()))
        << approval->Caption().toStdString() << " among "
        << dialog->cbodatecondition->Items()->Lines().join(u'|').toStdString();
    if (code_ == u"CHT") {
        EXPECT_EQ(approval->Caption(), QStringLiteral("選擇稽核日期"));
        EXPECT_FALSE(dialog->cbodatecondition->Items()->Lines().join(u'|').contains(u'覈'));
    }
}

TEST_P(LanguagePackages, SlipFormatAndPreview)
{
    OpenWindow(true);
    std::unique_ptr<TfrmZorv52Fmt, FreeComponent> format(CreateForm<TfrmZorv52Fmt>());
    expectTranslated(format.get());
    if (code_ == u"ENG") {
        const QStringList texts = formTexts(format.get());
        EXPECT_TRUE(texts.contains(QStringLiteral("lblCapTP005.Caption=Description")))
            << "a place's own text";
        EXPECT_TRUE(texts.contains(QStringLiteral("lblCapTO009.Caption=Descr."))) << "the word's text";
    }
    std::unique_ptr<TfrmVRPreview, FreeComponent> preview(new TfrmVRPreview(format.get()));
    expectTranslated(preview.get());
}

TEST_P(LanguagePackages, SendConversionAndSubjectDialogs)
{
    OpenWindow(true);
    std::unique_ptr<TfrmVRSendOut, FreeComponent> send(CreateForm<TfrmVRSendOut>());
    expectTranslated(send.get());
    std::unique_ptr<TfrmVRConvPic, FreeComponent> pictures(CreateForm<TfrmVRConvPic>());
    expectTranslated(pictures.get());
    std::unique_ptr<TfrmEmailSubject, FreeComponent> subject(CreateForm<TfrmEmailSubject>());
    expectTranslated(subject.get());
}

INSTANTIATE_TEST_SUITE_P(Interface, LanguagePackages, ::testing::Values("437", "950"),
    [](const ::testing::TestParamInfo<const char*>& param) {
        return std::string(param.param) == "437" ? std::string("English") : std::string("Traditional");
    });

TEST(LanguagePackagesFont, TahomaIsALatinFace)
{
    ASSERT_TRUE(LoadFontAliases());
    const QString family = QFontInfo(QFont(QStringLiteral("Tahoma"))).family();
    EXPECT_TRUE(family == u"Liberation Sans" || family.startsWith(QStringLiteral("DejaVu Sans")))
        << family.toStdString();
}

} // namespace
