#pragma once
// The form description text, parsed into a tree before anything is applied, so
// that a damaged text changes nothing. Syntax:
//
//   object frmMain: TfrmMain           (or: inherited frmMain: TfrmMain)
//     Caption = 'Orders'#20013#25991    strings: quoted parts and #code characters,
//       + ' more'                        continued with + across lines
//     Left = -8                        numbers: 12, -3, $FF, 1.5, 2e3
//     Align = alClient                 identifiers: enumerations, True/False, handlers, components
//     Font.Style = [fsBold, fsItalic]  sets; dotted names walk sub-objects
//     Items.Strings = ('a' 'b')        lists
//     Columns = <item Caption = 'No' end item end>   collections
//     Picture.Data = {89504E47...}     binary data as hexadecimal
//     object lblTitle: TLabel ... end  nested components
//   end

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace formtext {

struct Property;

struct Value {
    enum Kind { Integer, Float, String, Identifier, Set, List, Collection, Binary };
    Kind kind = Integer;
    qint64 integer = 0;
    double real = 0;
    QString text; // String, Identifier
    QStringList elements; // Set
    std::vector<Value> items; // List
    std::vector<std::vector<Property>> collection;
    QByteArray bytes; // Binary
    int line = 0;
};

struct Property {
    QString name;
    Value value;
    int line = 0;
};

struct Object {
    enum Mode { New, Inherited, Inline };
    Mode mode = New;
    QString name;
    QString className;
    std::vector<Property> properties;
    std::vector<Object> children;
    int line = 0;
};

// Deepest nesting of objects, lists and collections a text may use.
constexpr int MaxDepth = 64;

// Parses one top-level object; throws EReadError("Line n: reason").
Object Parse(const QString& text);

// A string value as the writer puts it: quoted runs of printable ASCII,
// #code for everything else, split into "+"-continued pieces of about
// maxLine characters, each continuation indented by indent.
QString QuoteString(const QString& value, const QString& indent, int maxLine = 64);

} // namespace formtext
