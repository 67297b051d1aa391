#include "runtime/forms/VclTypes.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPalette>

namespace {

constexpr int scShift = 0x2000;
constexpr int scCtrl = 0x4000;
constexpr int scAlt = 0x8000;

QColor systemColor(int index)
{
    const QPalette palette = QApplication::palette();
    switch (index) {
    case 0x01:
        return palette.color(QPalette::Window); // background
    case 0x02:
        return palette.color(QPalette::Highlight); // active caption
    // Inactive captions (and the inactive tabs drawn in them) take the
    // button colours: grey text on the mid tone read poorly.
    case 0x03:
        return palette.color(QPalette::Button); // inactive caption
    case 0x04:
        return palette.color(QPalette::Window); // menu
    case 0x05:
        return palette.color(QPalette::Base); // window
    case 0x06:
        return palette.color(QPalette::Shadow); // window frame
    case 0x07:
        return palette.color(QPalette::WindowText); // menu text
    case 0x08:
        return palette.color(QPalette::Text); // window text
    case 0x09:
        return palette.color(QPalette::HighlightedText);
    case 0x0C:
        return palette.color(QPalette::Dark); // application work space
    case 0x0D:
        return palette.color(QPalette::Highlight);
    case 0x0E:
        return palette.color(QPalette::HighlightedText);
    case 0x0F:
        return palette.color(QPalette::Button); // button face
    case 0x10:
        return palette.color(QPalette::Dark); // button shadow
    case 0x11:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 0x12:
        return palette.color(QPalette::ButtonText);
    case 0x13:
        return palette.color(QPalette::ButtonText); // inactive caption text
    case 0x14:
        return palette.color(QPalette::Light);
    case 0x15:
        return palette.color(QPalette::Shadow);
    case 0x16:
        return palette.color(QPalette::Midlight);
    case 0x17:
        return palette.color(QPalette::ToolTipText);
    case 0x18:
        return palette.color(QPalette::ToolTipBase);
    default:
        return palette.color(QPalette::Window);
    }
}

struct KeyPair {
    int qt;
    Word vk;
};

constexpr KeyPair keyPairs[] = {
    {Qt::Key_Backspace, VK_BACK},
    {Qt::Key_Tab, VK_TAB},
    {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},
    {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL},
    {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},
    {Qt::Key_PageUp, VK_PRIOR},
    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},
    {Qt::Key_Home, VK_HOME},
    {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},
    {Qt::Key_Right, VK_RIGHT},
    {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},
};

} // namespace

QColor ColorToQColor(TColor color)
{
    const int value = static_cast<int>(color);
    if (value < 0)
        return systemColor(value & 0xFF);
    if (value == clNone || value == clDefault)
        return QColor();
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

int QtKeyOfVirtualKey(Word key)
{
    if (key >= VK_F1 && key <= VK_F12)
        return Qt::Key_F1 + (key - VK_F1);
    for (const KeyPair& pair : keyPairs) {
        if (pair.vk == key)
            return pair.qt;
    }
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return key; // Qt letter and digit keys share the codes
    return 0;
}

Word VirtualKeyOf(const QKeyEvent* event)
{
    const int key = event->key();
    if (key >= Qt::Key_F1 && key <= Qt::Key_F12)
        return static_cast<Word>(VK_F1 + (key - Qt::Key_F1));
    for (const KeyPair& pair : keyPairs) {
        if (pair.qt == key)
            return pair.vk;
    }
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        return static_cast<Word>(key);
    return 0;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers)
{
    TShiftState state;
    if (modifiers & Qt::ShiftModifier)
        state |= ssShift;
    if (modifiers & Qt::ControlModifier)
        state |= ssCtrl;
    if (modifiers & Qt::AltModifier)
        state |= ssAlt;
    return state;
}

int ShortCut(Word key, TShiftState shift)
{
    if (key == 0)
        return 0;
    int value = key & 0xFF;
    if (shift & ssShift)
        value |= scShift;
    if (shift & ssCtrl)
        value |= scCtrl;
    if (shift & ssAlt)
        value |= scAlt;
    return value;
}

int TextToShortCut(const QString& text)
{
    int modifiers = 0;
    QString rest = text.trimmed();
    const struct {
        const char* prefix;
        int bit;
    } prefixes[] = {{"Shift+", scShift}, {"Ctrl+", scCtrl}, {"Alt+", scAlt}};
    for (bool found = true; found;) {
        found = false;
        for (const auto& p : prefixes) {
            if (rest.startsWith(QLatin1String(p.prefix), Qt::CaseInsensitive)) {
                modifiers |= p.bit;
                rest = rest.mid(static_cast<int>(qstrlen(p.prefix)));
                found = true;
            }
        }
    }
    int key = 0;
    if (rest.size() == 1 && rest.at(0).isLetterOrNumber() && rest.at(0).unicode() < 128)
        key = rest.at(0).toUpper().unicode();
    else if (rest.size() >= 2 && rest.at(0).toUpper() == u'F') {
        bool ok = false;
        const int n = rest.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 12)
            key = VK_F1 + n - 1;
    } else if (rest.compare(u"Enter", Qt::CaseInsensitive) == 0)
        key = VK_RETURN;
    else if (rest.compare(u"Esc", Qt::CaseInsensitive) == 0)
        key = VK_ESCAPE;
    else if (rest.compare(u"Del", Qt::CaseInsensitive) == 0)
        key = VK_DELETE;
    else if (rest.compare(u"Ins", Qt::CaseInsensitive) == 0)
        key = VK_INSERT;
    return key == 0 ? 0 : key | modifiers;
}

QString ShortCutToText(int shortCut)
{
    const int key = shortCut & 0xFF;
    QString name;
    if (key >= VK_F1 && key <= VK_F12)
        name = QStringLiteral("F%1").arg(key - VK_F1 + 1);
    else if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z'))
        name = QChar(key);
    else if (key == VK_RETURN)
        name = QStringLiteral("Enter");
    else if (key == VK_ESCAPE)
        name = QStringLiteral("Esc");
    else if (key == VK_DELETE)
        name = QStringLiteral("Del");
    else if (key == VK_INSERT)
        name = QStringLiteral("Ins");
    else
        return QString();
    QString prefix;
    if (shortCut & scShift)
        prefix += QStringLiteral("Shift+");
    if (shortCut & scCtrl)
        prefix += QStringLiteral("Ctrl+");
    if (shortCut & scAlt)
        prefix += QStringLiteral("Alt+");
    return prefix + name;
}
