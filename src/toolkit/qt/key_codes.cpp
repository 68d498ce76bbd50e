#include "toolkit/qt/key_codes.h"

#include <iterator>

#include "toolkit/codes.h"

namespace fontarel {
namespace {

struct KeyPair {
    int qt;
    int vk;
};

// Keys whose virtual code differs from their Qt value. Letters and digits need no entry: Qt's codes
// for them are the upper-case character codes, as are the virtual codes. Shifted punctuation maps
// to the key that carries it on a US keyboard.
constexpr KeyPair kKeys[] = {
    {Qt::Key_Backspace, 8},
    {Qt::Key_Tab, 9},
    {Qt::Key_Backtab, 9},
    {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},
    {Qt::Key_Shift, 16},
    {Qt::Key_Control, 17},
    {Qt::Key_Alt, 18},
    {Qt::Key_AltGr, 18},
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
    {Qt::Key_Escape, kKeyEscape},
    {Qt::Key_Space, 32},
    {Qt::Key_PageUp, 33},
    {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},
    {Qt::Key_Home, 36},
    {Qt::Key_Left, kKeyLeft},
    {Qt::Key_Up, kKeyUp},
    {Qt::Key_Right, kKeyRight},
    {Qt::Key_Down, kKeyDown},
    {Qt::Key_Print, 44},
    {Qt::Key_Insert, kKeyInsert},
    {Qt::Key_Delete, kKeyDelete},
    {Qt::Key_Meta, 91},
    {Qt::Key_Menu, 93},
    {Qt::Key_NumLock, 144},
    {Qt::Key_ScrollLock, 145},
    {Qt::Key_Semicolon, 186},
    {Qt::Key_Colon, 186},
    {Qt::Key_Equal, 187},
    {Qt::Key_Plus, 187},
    {Qt::Key_Comma, 188},
    {Qt::Key_Less, 188},
    {Qt::Key_Minus, 189},
    {Qt::Key_Underscore, 189},
    {Qt::Key_Period, 190},
    {Qt::Key_Greater, 190},
    {Qt::Key_Slash, 191},
    {Qt::Key_Question, 191},
    {Qt::Key_QuoteLeft, 192},
    {Qt::Key_AsciiTilde, 192},
    {Qt::Key_BracketLeft, 219},
    {Qt::Key_BraceLeft, 219},
    {Qt::Key_Backslash, 220},
    {Qt::Key_Bar, 220},
    {Qt::Key_BracketRight, 221},
    {Qt::Key_BraceRight, 221},
    {Qt::Key_Apostrophe, 222},
    {Qt::Key_QuoteDbl, 222},
    // Shifted digits on a US keyboard.
    {Qt::Key_Exclam, '1'},
    {Qt::Key_At, '2'},
    {Qt::Key_NumberSign, '3'},
    {Qt::Key_Dollar, '4'},
    {Qt::Key_Percent, '5'},
    {Qt::Key_AsciiCircum, '6'},
    {Qt::Key_Ampersand, '7'},
    {Qt::Key_Asterisk, '8'},
    {Qt::Key_ParenLeft, '9'},
    {Qt::Key_ParenRight, '0'},
};

// Numeric-pad operators: multiply, add, subtract, decimal point, divide.
constexpr KeyPair kKeypad[] = {
    {Qt::Key_Asterisk, 106}, {Qt::Key_Plus, 107},  {Qt::Key_Minus, 109},
    {Qt::Key_Period, 110},   {Qt::Key_Comma, 110}, {Qt::Key_Slash, 111},
};

constexpr int kVkNumpad0 = 96;
constexpr int kVkF1 = 112;

} // namespace

int virtual_key(int qt_key, bool keypad) {
    if (keypad) {
        if (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9)
            return kVkNumpad0 + (qt_key - Qt::Key_0);
        for (const KeyPair& k : kKeypad)
            if (k.qt == qt_key)
                return k.vk;
    }
    if ((qt_key >= Qt::Key_A && qt_key <= Qt::Key_Z) ||
        (qt_key >= Qt::Key_0 && qt_key <= Qt::Key_9))
        return qt_key;
    if (qt_key >= Qt::Key_F1 && qt_key <= Qt::Key_F24)
        return kVkF1 + (qt_key - Qt::Key_F1);
    for (const KeyPair& k : kKeys)
        if (k.qt == qt_key)
            return k.vk;
    return 0;
}

int modifier_bits(Qt::KeyboardModifiers modifiers) {
    int bits = 0;
    if (modifiers & Qt::ShiftModifier)
        bits |= kModShift;
    if (modifiers & Qt::AltModifier)
        bits |= kModAlt;
    if (modifiers & Qt::ControlModifier)
        bits |= kModCtrl;
    return bits;
}

QKeySequence key_sequence(int combination) {
    const int vk = combination & kComboKeyMask;
    int key = 0;
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        key = vk;
    } else if (vk >= kVkF1 && vk < kVkF1 + 24) {
        key = Qt::Key_F1 + (vk - kVkF1);
    } else {
        // The first Qt key of the table that carries this code is its unshifted key.
        for (const KeyPair& k : kKeys) {
            if (k.vk == vk) {
                key = k.qt;
                break;
            }
        }
    }
    if (key == 0)
        return {};
    Qt::KeyboardModifiers mods;
    if (combination & kComboShift)
        mods |= Qt::ShiftModifier;
    if (combination & kComboCtrl)
        mods |= Qt::ControlModifier;
    if (combination & kComboAlt)
        mods |= Qt::AltModifier;
    return QKeySequence(QKeyCombination(mods, static_cast<Qt::Key>(key)));
}

} // namespace fontarel
