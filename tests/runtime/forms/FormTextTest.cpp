#include "runtime/forms/FormText.h"
#include "runtime/system/Exceptions.h"

#include <gtest/gtest.h>

using namespace formtext;

namespace {

Value valueOf(const QString& valueText)
{
    const Object object = Parse("object A: TForm\n  P = " + valueText + "\nend\n");
    return object.properties.at(0).value;
}

QString parseError(const QString& text)
{
    try {
        Parse(text);
    } catch (const EReadError& e) {
        return e.Message();
    }
    return QString();
}

} // namespace

TEST(FormTextTest, NumbersInEveryNotation)
{
    EXPECT_EQ(valueOf("-12").integer, -12);
    EXPECT_EQ(valueOf("+7").integer, 7);
    EXPECT_EQ(valueOf("$FF").integer, 255);
    EXPECT_EQ(valueOf("$FF000000").integer, static_cast<qint32>(0xFF000000)); // a 32-bit colour
    EXPECT_EQ(valueOf("$100000000").integer, 0x100000000LL);
    EXPECT_EQ(valueOf("1.5").kind, Value::Float);
    EXPECT_DOUBLE_EQ(valueOf("1.5").real, 1.5);
    EXPECT_DOUBLE_EQ(valueOf("2e3").real, 2000.0);
    EXPECT_DOUBLE_EQ(valueOf("-1.25E-2").real, -0.0125);
    EXPECT_EQ(valueOf("3").kind, Value::Integer);
    EXPECT_TRUE(parseError("object A: TForm\n  P = 99999999999999999999\nend\n")
                    .startsWith("Line 2: Invalid number"));
    EXPECT_EQ(parseError("object A: TForm\n  P = $\nend\n"), "Line 2: Hexadecimal digits expected after $");
    EXPECT_EQ(parseError("object A: TForm\n  P = $11112222333344445\nend\n"), "Line 2: Number too large");
}

TEST(FormTextTest, StringsCodesAndContinuations)
{
    EXPECT_EQ(valueOf("'a''b'").text, "a'b");
    EXPECT_EQ(valueOf("#65#$42'c'#13#10").text, "ABc\r\n");
    EXPECT_EQ(valueOf("#128512").text, QString::fromUtf8("😀"));
    EXPECT_EQ(valueOf("'one' +\n    'two' + #33").text, "onetwo!");
    EXPECT_EQ(valueOf("''").text, "");
    EXPECT_EQ(parseError("object A: TForm\n  P = 'x' + 5\nend\n"), "Line 2: String expected after '+'");
    EXPECT_EQ(parseError("object A: TForm\n  P = #\nend\n"), "Line 2: Character code expected after #");
}

TEST(FormTextTest, SetsListsCollectionsAndBinary)
{
    const Value set = valueOf("[fsBold, 3]");
    EXPECT_EQ(set.kind, Value::Set);
    EXPECT_EQ(set.elements, QStringList({"fsBold", "3"}));
    EXPECT_TRUE(valueOf("[]").elements.isEmpty());
    const Value list = valueOf("(\n 'a'\n 12\n ident)");
    ASSERT_EQ(list.items.size(), 3u);
    EXPECT_EQ(list.items[1].integer, 12);
    EXPECT_EQ(list.items[2].text, "ident");
    const Value collection = valueOf("<\n item\n  A = 1\n  B.C = 'x'\n end\n item\n end>");
    ASSERT_EQ(collection.collection.size(), 2u);
    EXPECT_EQ(collection.collection[0][1].name, "B.C");
    EXPECT_TRUE(collection.collection[1].empty());
    EXPECT_EQ(valueOf("{\n  00ff\n  10 }").bytes, QByteArray::fromHex("00ff10"));
    EXPECT_EQ(parseError("object A: TForm\n  P = [a b]\nend\n"), "Line 2: ',' or ']' expected");
    EXPECT_EQ(parseError("object A: TForm\n  P = <thing>\nend\n"), "Line 2: 'item' expected");
    EXPECT_EQ(parseError("object A: TForm\n  P = {0g}\nend\n"), "Line 2: Invalid character in binary data");
    // 'end' is a valid list element, so the list runs to the end of the text.
    EXPECT_EQ(parseError("object A: TForm\n  P = ('a'\nend\n"), "Line 4: ')' expected");
}

TEST(FormTextTest, ObjectHeadersAndNesting)
{
    const Object object
        = Parse("inherited Form1: TForm1\n  inline Frame1: TFrame1 [2]\n  end\n"
                "  object Panel1: TPanel\n    Font.Name = 'x'\n    object Edit1: TEdit\n    end\n  end\nend");
    EXPECT_EQ(object.mode, Object::Inherited);
    ASSERT_EQ(object.children.size(), 2u);
    EXPECT_EQ(object.children[0].mode, Object::Inline);
    EXPECT_EQ(object.children[1].properties[0].name, "Font.Name");
    EXPECT_EQ(object.children[1].children[0].line, 6);
    EXPECT_EQ(parseError("object : TForm\nend\n"), "Line 1: Component name expected");
    EXPECT_EQ(parseError("object A.B: TForm\nend\n"), "Line 1: Invalid component name A.B");
    EXPECT_EQ(parseError("thing A: TForm\nend\n"), "Line 1: 'object' or 'inherited' expected");
    EXPECT_EQ(parseError("object A: TForm\n  P.. = 1\nend\n"), "Line 2: Invalid property name P..");
    EXPECT_EQ(parseError("object A: TForm\n  P = 1\n  ~\nend\n"), "Line 3: Invalid character '~' (#126)");
    EXPECT_EQ(parseError(""), "Line 1: 'object' or 'inherited' expected");
}

TEST(FormTextTest, QuotedStringsReadBackAsWritten)
{
    const QString samples[] = {QString(), "plain", "it's", QString::fromUtf8("中文 mixed ''"),
        QString(150, u'a'), QStringLiteral("tab\tnew\nline"), QString(QChar(0))};
    for (const QString& sample : samples) {
        const QString quoted = QuoteString(sample, "    ");
        EXPECT_EQ(valueOf(quoted).text, sample) << quoted.toStdString();
    }
    EXPECT_EQ(QuoteString(QString(100, u'b'), "  ", 64).count(u'\n'), 1); // split into two pieces
}
